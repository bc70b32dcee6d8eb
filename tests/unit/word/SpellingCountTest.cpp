// The spelling count without the office: which words are looked at, in which language, and
// what a language without a dictionary gives.
#include <gtest/gtest.h>

#include <thread>

#include "support/ScratchDir.h"
#include "word/lo/SpellingCounter.h"
#include "word/lo/SpellingTokens.h"

namespace kelvara::word::lo {
namespace {

using kelvara::testing::ScratchDir;

std::vector<std::string> words(const std::u16string& text) {
  std::vector<std::string> out;
  for (const auto& token : spellingTokens(text)) {
    out.push_back(token.word);
  }
  return out;
}

TEST(SpellingTokensTest, WordsKeepInnerApostrophesAndHyphens) {
  EXPECT_EQ(words(u"Don\u2019t re-use the students' e-mail -- ok?"),
            (std::vector<std::string>{"Don't", "re-use", "the", "students", "e-mail", "ok"}));
  EXPECT_EQ(words(u"Stra\u00dfe, \u00e9t\u00e9;na\u00efve"),
            (std::vector<std::string>{"Straße", "été", "naïve"}));
}

TEST(SpellingTokensTest, LeavesOutWhatTheOfficeDoesNotCheckByDefault) {
  // Digits, capitals only, and addresses.
  EXPECT_EQ(words(u"Call NATO at 5pm or B2B, see www.example.org or mail me@example.org now"),
            (std::vector<std::string>{"Call", "at", "or", "see", "or", "mail", "now"}));
  EXPECT_EQ(words(u"https://example.org/spelling-errs"), std::vector<std::string>{});
  // A soft hyphen inside a word is not part of it.
  EXPECT_EQ(words(u"hyphen\u00adation"), std::vector<std::string>{"hyphenation"});
}

TEST(SpellingTokensTest, OffsetsAndScripts) {
  const std::u16string text =
      u"\U0001D400 word \u05e9\u05dc\u05d5\u05dd \u65e5\u672c "
      u"\ud55c\uad6d";
  const auto tokens = spellingTokens(text);
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].offset, 3u);  // after a character of two UTF-16 units and a blank
  EXPECT_EQ(tokens[0].script, Script::Western);
  EXPECT_EQ(tokens[1].script, Script::Complex);
  EXPECT_EQ(tokens[2].script, Script::Unchecked);
  EXPECT_EQ(tokens[3].script, Script::Asian);
}

// A dictionary of a few words, written for the test.
class SpellingCountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.file("xx_XX.aff", "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n");
    dir_.file("xx_XX.dic", "5\nthe\ncat\nsat\non\nmat\n");
    dir_.file("yy.aff", "SET ISO8859-1\n");
    dir_.file("yy.dic", std::string("1\ncaf\xe9\n"));  // café, in Latin-1
  }

  SpellingErrors count(const std::u16string& text, const std::vector<LanguageRun>& runs) {
    return countSpellingErrors(text, runs, dictionaries_);
  }

  ScratchDir dir_;
  SpellingDictionaries dictionaries_{{dir_.path()}};
};

TEST_F(SpellingCountTest, CountsEveryOccurrenceOfARejectedWord) {
  const std::u16string text = u"The cat sat on teh mat. Teh cat sat on teh mat.";
  EXPECT_EQ(count(text, {{0, text.size(), "xx-XX", "", ""}}).count, 3);
  EXPECT_TRUE(count(text, {{0, text.size(), "xx-XX", "", ""}}).languagesWithoutDictionary.empty());
}

TEST_F(SpellingCountTest, EachWordInTheLanguageOfItsRun) {
  const std::u16string text = u"the cat caf\u00e9 sat";
  // "café" is in the second dictionary (kept in Latin-1), "the cat" in the first.
  const std::vector<LanguageRun> runs{
      {0, 8, "xx-XX", "", ""}, {8, 13, "yy", "", ""}, {13, text.size(), "xx-XX", "", ""}};
  EXPECT_EQ(count(text, runs).count, 0);
  EXPECT_EQ(count(text, {{0, text.size(), "xx-XX", "", ""}}).count, 1);
}

TEST_F(SpellingCountTest, LanguagesWithoutDictionaryAreReportedNotCounted) {
  const std::u16string text = u"the cat Katze Hund sat";
  const SpellingErrors errors =
      count(text, {{0, 8, "xx-XX", "", ""}, {8, 18, "de-DE", "", ""}, {18, 22, "xx-XX", "", ""}});
  EXPECT_EQ(errors.count, 0);
  EXPECT_EQ(errors.languagesWithoutDictionary, std::vector<std::string>{"de-DE"});
  // Text in no language, or in none at all, is neither checked nor reported.
  EXPECT_EQ(count(text, {{0, text.size(), "zxx", "", ""}}).languagesWithoutDictionary,
            std::vector<std::string>{});
  EXPECT_EQ(count(text, {{0, text.size(), "x-none", "", ""}}).languagesWithoutDictionary,
            std::vector<std::string>{});
  EXPECT_EQ(count(text, {{0, text.size(), "", "", ""}}).count, 0);
  EXPECT_EQ(count(text, {}).count, 0);
  // A language with text but no words is not reported either.
  EXPECT_TRUE(count(u"the 42 cat",
                    {{0, 3, "xx-XX", "", ""}, {3, 7, "de-DE", "", ""}, {7, 10, "xx-XX", "", ""}})
                  .languagesWithoutDictionary.empty());
}

TEST_F(SpellingCountTest, ComplexScriptWordsTakeTheComplexLanguage) {
  const std::u16string text = u"the \u05e9\u05dc\u05d5\u05dd cat";
  const SpellingErrors errors = count(text, {{0, text.size(), "xx-XX", "ja-JP", "he-IL"}});
  EXPECT_EQ(errors.count, 0);
  EXPECT_EQ(errors.languagesWithoutDictionary, std::vector<std::string>{"he-IL"});
}

TEST_F(SpellingCountTest, ADictionaryIsSharedByThreadsCountingAtOnce) {
  const std::u16string text = u"the cat sat on teh mat";
  std::vector<int32_t> results(4, -1);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] {
      for (int round = 0; round < 50; ++round) {
        results[i] = count(text, {{0, text.size(), "xx-XX", "", ""}}).count;
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(results, std::vector<int32_t>(4, 1));
  EXPECT_EQ(dictionaries_.find("xx-XX"), dictionaries_.find("xx-XX"));  // opened once
  EXPECT_EQ(dictionaries_.find("zz-ZZ"), nullptr);
}

}  // namespace
}  // namespace kelvara::word::lo
