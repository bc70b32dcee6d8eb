#include "word/CountInput.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/ProgramScript.h"
#include "support/ScratchDir.h"
#include "word/ConvError.h"

namespace kelvara::word {
namespace {

using testing::programScript;
using testing::ScratchDir;

TEST(CountInputTest, TheCountFileIsNamedAfterTheInputUpToItsFirstDot) {
  EXPECT_EQ(CountFileName("/in/letter.ws"), "letter.txt");
  EXPECT_EQ(CountFileName("/in/notes.v1.ws"), "notes.txt");
  EXPECT_EQ(CountFileName("/in.d/README"), "txt");
  EXPECT_EQ(CountFileName("/in/.profile"), ".txt");
}

TEST(CountInputTest, TheFourthLineGivesTheCountsByTheirLabels) {
  const InputCounts counts = ParseCountLine("Words:   1234 Lines:     56 Chars:   7890");
  EXPECT_EQ(counts.words, 1234);
  EXPECT_EQ(counts.lines, 56);
  EXPECT_EQ(counts.characters, 7890);

  // The character right after a label is not read; the field is the six after it.
  const InputCounts fields = ParseCountLine("Chars:x123456789 Words:  -12");
  EXPECT_EQ(fields.characters, 123456);
  EXPECT_EQ(fields.words, -12);
  EXPECT_EQ(fields.lines, -1);

  bool garbage = true;
  const InputCounts wordsOnly = ParseCountLine("  Words:     42", &garbage);
  EXPECT_FALSE(garbage);
  EXPECT_EQ(wordsOnly.words, 42);
  EXPECT_EQ(wordsOnly.lines, -1);
  EXPECT_EQ(wordsOnly.characters, -1);

  // A field that is no number ends the reading; what came before stays.
  const InputCounts broken = ParseCountLine("Words:     7 Lines:  many Chars:     9", &garbage);
  EXPECT_TRUE(garbage);
  EXPECT_EQ(broken.words, 7);
  EXPECT_EQ(broken.lines, -1);
  EXPECT_EQ(broken.characters, -1);
  ParseCountLine("Words:", &garbage);
  EXPECT_TRUE(garbage);
}

class CountInputRunTest : public ::testing::Test {
 protected:
  InputCounts count(const std::string& script) {
    settings.WordsCountProgram = programScript(tmp, "count", script);
    return CountInput(settings, input, temp, {}, log);
  }

  ScratchDir tmp;
  std::string input = tmp.file("in dir/Brief än.ws", "text");
  std::string temp = tmp.dir("temp");
  std::string countFile = temp + "Brief än.txt";
  config::Settings settings;
  PendingLog log;
};

TEST_F(CountInputRunTest, CountsAreReadAndTheCountFileDeleted) {
  const InputCounts counts = count(
      "[ \"$1\" = '" + input +
      "' ] || exit 9\n"
      "printf 'counter 1.0\\r\\n\\r\\nfile: %s\\r\\nWords:    12 Lines:      3 Chars:    80\\r\\n' "
      "\"$1\"");
  EXPECT_EQ(counts.words, 12);
  EXPECT_EQ(counts.lines, 3);
  EXPECT_EQ(counts.characters, 80);
  EXPECT_FALSE(std::filesystem::exists(countFile));
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0].target, PendingLog::Target::Deletion);
  EXPECT_EQ(log.lines()[0].text, "File " + countFile + " deleted");
}

TEST_F(CountInputRunTest, AFailingProgramLeavesTheCountsAbsentAndNoFile) {
  const InputCounts counts = count("echo 'Words: 5'; echo 'unknown format' >&2; exit 2");
  EXPECT_EQ(counts.words, -1);
  EXPECT_EQ(counts.lines, -1);
  EXPECT_FALSE(std::filesystem::exists(countFile));
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0].text,
            "Program " + settings.WordsCountProgram + " ended with exit code 2: unknown format");
}

TEST_F(CountInputRunTest, AShortOrGarbledCountFileIsAReadError) {
  const InputCounts shortFile = count("printf 'one\\ntwo\\nthree\\n'");
  EXPECT_EQ(shortFile.words, -1);
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_EQ(log.lines()[0].target, PendingLog::Target::IOError);
  EXPECT_EQ(log.lines()[0].text, countFile);
  EXPECT_EQ(log.lines()[0].operation, PendingLog::kRead);
  EXPECT_EQ(log.lines()[0].code, ENODATA);
  EXPECT_EQ(log.lines()[1].target, PendingLog::Target::Deletion);

  log = PendingLog{};
  const InputCounts garbled = count("printf '\\n\\n\\nWords:    10 Lines: ##### Chars: 3\\n'");
  EXPECT_EQ(garbled.words, 10);
  EXPECT_EQ(garbled.lines, -1);
  EXPECT_EQ(log.lines()[0].code, EINVAL);
  EXPECT_FALSE(std::filesystem::exists(countFile));
}

TEST_F(CountInputRunTest, ACountFileThatCannotBeReadEndsTheConversion) {
  // The program replaces its own output by a folder.
  EXPECT_THROW(count("rm -f '" + countFile + "'; mkdir '" + countFile + "'"), EConvError);
  std::filesystem::remove(countFile);
}

}  // namespace
}  // namespace kelvara::word
