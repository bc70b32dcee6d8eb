// The spelling count through the real office: the body's words in the languages the document
// gives them, checked with the installed dictionaries.

#include <gtest/gtest.h>

#include <filesystem>

#include "ContentFormatSupport.h"

namespace kelvara::word {
namespace {

class EngineSpellingTest : public testing::ContentFormatTest {
 protected:
  static void SetUpTestSuite() { startEngine("spelling"); }

  void SetUp() override {
    ContentFormatTest::SetUp();
    if (!std::filesystem::exists("/usr/share/hunspell/en_US.dic")) {
      GTEST_SKIP() << "needs the en-US dictionary (hunspell-en-us): "
                      "/usr/share/hunspell/en_US.dic is missing";
    }
  }

  SpellingErrors count(const std::string& name, const std::string& rtf) {
    auto document = openRtf(name, rtf);
    if (!document) {
      return {-1, {}};
    }
    const SpellingErrors errors = document->spellingErrorCount();
    close(document);
    return errors;
  }
};

TEST_F(EngineSpellingTest, CountsTheMisspelledWordsOfAnEnglishText) {
  const SpellingErrors errors =
      count("english.rtf",
            "{\\rtf1\\ansi\\deflang1033\\pard This sentense has three mispelled words, "
            "and teh rest is fine.\\par"
            "NASA, B2B and abc123 are not checked; Don\\rquote t worry about it.\\par"
            "It\\rquote s a well-known e-mail from www.exampel.org.\\par}");
  EXPECT_EQ(errors.count, 3);
  EXPECT_TRUE(errors.languagesWithoutDictionary.empty());
}

TEST_F(EngineSpellingTest, ALanguageWithoutDictionaryIsReported) {
  const SpellingErrors errors =
      count("german.rtf",
            "{\\rtf1\\ansi\\deflang1031\\pard\\plain\\lang1031 Das ist ein deutscher Satz "
            "mit vielen Woertern.\\par}");
  EXPECT_EQ(errors.count, 0);
  EXPECT_EQ(errors.languagesWithoutDictionary, std::vector<std::string>{"de-DE"});
}

TEST_F(EngineSpellingTest, EachStretchIsCheckedInItsOwnLanguage) {
  // English with a German phrase inside a paragraph and a German paragraph, a British
  // paragraph (its spelling is right in en-GB, wrong in en-US), and tables before the first
  // paragraph and in the middle.
  const SpellingErrors errors =
      count("mixed.rtf",
            "{\\rtf1\\ansi\\deflang1033"
            "\\trowd\\cellx3000\\cellx6000 Tabel\\cell wrods\\cell\\row"
            "\\pard\\plain\\lang1033 The quick brwon fox {\\lang1031 und der Hund} jumps.\\par"
            "\\pard\\plain\\lang1031 Ein ganzer Absatz auf Deutsch mit Umlauten.\\par"
            "\\pard\\plain\\lang2057 The colour of the organisation.\\par"
            "\\trowd\\cellx3000 Anothr cell\\cell\\row"
            "\\pard\\plain\\lang1033 Finaly done.\\par}");
  EXPECT_EQ(errors.count, 5);  // Tabel, wrods, brwon, Anothr, Finaly
  EXPECT_EQ(errors.languagesWithoutDictionary, std::vector<std::string>{"de-DE"});
}

TEST_F(EngineSpellingTest, AnEmptyDocumentHasNoErrors) {
  const SpellingErrors errors = count("empty.rtf", "{\\rtf1\\ansi\\deflang1031\\par}");
  EXPECT_EQ(errors.count, 0);
  EXPECT_TRUE(errors.languagesWithoutDictionary.empty());
}

}  // namespace
}  // namespace kelvara::word
