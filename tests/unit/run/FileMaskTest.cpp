#include "run/FileMask.h"

#include <gtest/gtest.h>

namespace kelvara::run {
namespace {

struct MaskCase {
  const char* mask;
  const char* name;
  bool matches;
};

void expectCases(std::initializer_list<MaskCase> cases) {
  for (const MaskCase& c : cases) {
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches)
        << "mask \"" << c.mask << "\" name \"" << c.name << "\"";
  }
}

TEST(MatchesMaskTest, StarDotStarMatchesEveryName) {
  expectCases({{"*.*", "a", true},
               {"*.*", "a.doc", true},
               {"*.*", ".profile", true},
               {"*.*", "a.b.c", true},
               {"*", "noext", true},
               {"*", "x.y", true}});
}

TEST(MatchesMaskTest, StarDotMatchesOnlyNamesWithoutExtension) {
  expectCases({{"*.", "readme", true},
               {"*.", "read.me", false},
               {"*.", "a.b.c", false},
               {"*.", "trailing.", true}});
}

TEST(MatchesMaskTest, ExtensionMasksAreCaseInsensitiveAndExact) {
  expectCases({{"*.doc", "Letter.DOC", true},
               {"*.DOC", "letter.doc", true},
               {"*.doc", "a.doc.doc", true},
               {"*.doc", "a.rtf.doc", true},
               {"*.doc", ".doc", true},
               {"*.doc", "a.docx", false},
               {"*.doc", "a.do", false},
               {"*.doc", "adoc", false},
               {"*.doc", "a.doc.bak", false}});
}

TEST(MatchesMaskTest, DosQuestionMarkAndDotRules) {
  expectCases({{"a?.txt", "ab.txt", true},
               {"a?.txt", "a.txt", true},  // "?" before a dot may match nothing
               {"a?.txt", "abc.txt", false},
               {"???", "ab", true},
               {"???", "abcd", false},
               {"???", "a.b", false},
               {"file.*", "file", true},  // ".*" also matches no extension
               {"file.*", "file.txt", true},
               {"file.*", "files", false},
               {"abc.", "abc", true},  // a trailing dot stands for "no extension"
               {"abc.", "abc.", true},
               {"abc.", "abcd", false},
               {"a.b*", "a.bc", true},
               {"a.b*", "ab", false},
               {"a*b", "axxb", true},
               {"a*b", "axxbc", false},
               {"*x*.doc", "boxes.doc", true},
               {"*x*.doc", "boxes.rtf", false}});
}

TEST(MatchesMaskTest, PlainNamesAndEmptyMask) {
  expectCases({{"Report.doc", "REPORT.DOC", true},
               {"Report.doc", "Report.do", false},
               {"", "a", false},
               {"", "", true}});
}

TEST(MatchesMaskTest, LatinGreekAndCyrillicLettersIgnoreCase) {
  expectCases({{"*été*.doc", "ÉTÉ 2024.DOC", true},
               {"Ångström.*", "ÅNGSTRÖM.txt", true},
               {"žluť?.rtf", "ŽLUŤA.RTF", true},
               {"отчёт.*", "ОТЧЁТ.doc", true},
               {"αβγ.*", "ΑΒΓ.txt", true},
               {"?.doc", "é.doc", true}});  // "?" is one character, not one byte
}

TEST(MatchesMaskTest, InvalidUtf8NamesAreMatchedBytewise) {
  const std::string name = std::string("a\xff") + ".doc";
  EXPECT_TRUE(MatchesMask(name, "*.doc"));
  EXPECT_TRUE(MatchesMask(name, "a?.doc"));
  EXPECT_FALSE(MatchesMask(name, "a.doc"));
}

TEST(MaskListTest, CommaTextSeparatesByCommasAndBlanksAndSorts) {
  MaskList list;
  list.setCommaText("*.rtf, *.doc");
  EXPECT_EQ(list.masks(), (std::vector<std::string>{"*.doc", "*.rtf"}));
  EXPECT_EQ(list.first(), "*.doc");
  list.setCommaText("  b  a,c ");
  EXPECT_EQ(list.masks(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(MaskListTest, DuplicatesDifferingInCaseKeepTheFirst) {
  MaskList list;
  list.setCommaText("*.DOC, *.doc, *.Doc");
  EXPECT_EQ(list.masks(), (std::vector<std::string>{"*.DOC"}));
}

TEST(MaskListTest, QuotedItemsKeepBlanksCommasAndQuotes) {
  MaskList list;
  list.setCommaText("\"my file, v*.doc\",x \"a\"\"b\"");
  EXPECT_EQ(list.masks(), (std::vector<std::string>{"a\"b", "my file, v*.doc", "x"}));
  EXPECT_EQ(list.commaText(), "\"a\"\"b\",\"my file, v*.doc\",x");

  MaskList again;
  again.setCommaText(list.commaText());
  EXPECT_EQ(again.masks(), list.masks());
}

TEST(MaskListTest, EmptyItemsAndSingleMasks) {
  MaskList list;
  list.setCommaText("*.doc, , *.rtf");
  EXPECT_EQ(list.masks(), (std::vector<std::string>{"", "*.doc", "*.rtf"}));
  EXPECT_FALSE(list.matchesAny("x.txt"));

  list.setSingle("*.doc *.rtf");  // one mask, blank included
  EXPECT_EQ(list.masks().size(), 1u);
  EXPECT_EQ(list.first(), "*.doc *.rtf");
  EXPECT_EQ(list.commaText(), "\"*.doc *.rtf\"");

  list.setSingle("");
  EXPECT_EQ(list.commaText(), "\"\"");
  list.clear();
  EXPECT_EQ(list.first(), "");
  EXPECT_EQ(list.commaText(), "");
}

TEST(MaskListTest, MatchesAnyOfItsMasks) {
  MaskList list;
  list.setCommaText("*.doc, *.rtf");
  EXPECT_TRUE(list.matchesAny("A.RTF"));
  EXPECT_TRUE(list.matchesAny("b.doc"));
  EXPECT_FALSE(list.matchesAny("c.txt"));
}

}  // namespace
}  // namespace kelvara::run
