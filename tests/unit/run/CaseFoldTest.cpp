#include "run/CaseFold.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "run/FileMask.h"

namespace kelvara::run {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

void expectSame(const Pairs& pairs) {
  for (const auto& [upper, lower] : pairs) {
    EXPECT_TRUE(sameTextIgnoreCase(upper, lower)) << upper << " / " << lower;
    EXPECT_TRUE(sameTextIgnoreCase(lower, upper)) << lower << " / " << upper;
  }
}

void expectDifferent(const Pairs& pairs) {
  for (const auto& [a, b] : pairs) {
    EXPECT_FALSE(sameTextIgnoreCase(a, b)) << a << " / " << b;
  }
}

// The first and the last letter of every range that folds, and the neighbours just outside.
TEST(CaseFoldTest, EveryAlphabetFoldsFromItsFirstToItsLastLetter) {
  expectSame({{"A", "a"}, {"Z", "z"}, {"QUIZ.DOC", "quiz.doc"}});
  expectSame({{"À", "à"}, {"Ö", "ö"}, {"Ø", "ø"}, {"Þ", "þ"}, {"Ÿ", "ÿ"}});
  expectSame({{"Ā", "ā"}, {"Ķ", "ķ"}, {"Ĺ", "ĺ"}, {"Ň", "ň"}, {"Ŋ", "ŋ"}, {"Ŷ", "ŷ"}});
  expectSame({{"Ź", "ź"}, {"Ž", "ž"}, {"ŽLUŤOUČKÝ", "žluťoučký"}});
  expectSame({{"Α", "α"}, {"Ω", "ω"}, {"Ϊ", "ϊ"}, {"Ϋ", "ϋ"}});
  expectSame({{"Ѐ", "ѐ"}, {"Џ", "џ"}, {"А", "а"}, {"Я", "я"}, {"ЯНВАРЬ", "январь"}});
  // Neighbours of the ranges are not letters of another case.
  expectDifferent({{"@", "`"}, {"[", "{"}, {"×", "÷"}, {"ß", "SS"}, {"ĸ", "K"}});
  // The Turkish dotted capital and dotless small i have no partner among the plain letters.
  expectDifferent({{"İ", "i"}, {"ı", "I"}});
}

// Words as operators' archives spell them: accented Greek capitals, a final sigma, Romanian and
// Vietnamese letters, Ukrainian and Kazakh Cyrillic.
TEST(CaseFoldTest, LettersOfLatinGreekAndCyrillicLanguagesBeyondTheBasicBlocks) {
  expectSame({{"ΠΡΩΤΕΪΝΗ", "πρωτεϊνη"},
              {"ΆΝΘΡΩΠΟΣ", "άνθρωπος"},
              {"ΈΞΟΔΟΣ", "έξοδος"},
              {"ΉΛΙΟΣ ΊΡΙΣ ΌΡΟΣ ΎΛΗ ΏΡΑ", "ήλιος ίρις όρος ύλη ώρα"},
              {"ȘCOALĂ ȚARĂ", "școală țară"},
              {"TIẾNG VIỆT ĐƯỢC", "tiếng việt được"},
              {"ҐАНОК", "ґанок"},
              {"ҚАЗАҚ ӘЛІПБИІ ҰЛТ ӨНЕР", "қазақ әліпбиі ұлт өнер"}});
  // Σ folds to σ, and a word's final ς is the same letter.
  expectSame({{"ΟΔΟΣ", "οδος"}, {"σ", "ς"}});
}

TEST(CaseFoldTest, BytesThatAreNotUtf8OnlyEqualThemselves) {
  EXPECT_TRUE(sameTextIgnoreCase("a\xff", "A\xff"));
  EXPECT_FALSE(sameTextIgnoreCase("\xff", "ÿ"));
  EXPECT_FALSE(sameTextIgnoreCase("\xc3", "Ã"));         // a sequence cut short
  EXPECT_FALSE(sameTextIgnoreCase("\xc0\xae", "."));     // an overlong dot
  EXPECT_FALSE(sameTextIgnoreCase("\xed\xa0\x80", ""));  // an encoded surrogate
  EXPECT_EQ(foldedCodePoints("\xc3").size(), 1u);
}

TEST(CaseFoldTest, OrderIgnoresCase) {
  EXPECT_LT(compareIgnoreCase("apple", "Banana"), 0);
  EXPECT_GT(compareIgnoreCase("Zebra", "apple"), 0);
  EXPECT_GT(compareIgnoreCase("zz", "ZY"), 0);
  EXPECT_EQ(compareIgnoreCase("Яблоко", "яблоко"), 0);
  EXPECT_LT(compareIgnoreCase("abc", "ABCD"), 0);
}

// The masks reach the ends of each alphabet through the same folding.
TEST(CaseFoldTest, MasksMatchAtTheEndsOfTheAlphabets) {
  EXPECT_TRUE(MatchesMask("ZZTOP.DOC", "zz*.doc"));
  EXPECT_TRUE(MatchesMask("quiz.Z", "*.z"));
  EXPECT_TRUE(MatchesMask("ЯНВАРЬ.DOC", "я*.doc"));
  EXPECT_TRUE(MatchesMask("ΩΜΕΓΑ.RTF", "ω*.rtf"));
  EXPECT_TRUE(MatchesMask("ÞING.TXT", "þ???.txt"));
  EXPECT_FALSE(MatchesMask("[a].doc", "{a}.doc"));
}

}  // namespace
}  // namespace kelvara::run
