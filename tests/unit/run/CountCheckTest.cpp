#include "run/CountCheck.h"

#include <gtest/gtest.h>

namespace kelvara::run {
namespace {

word::DocumentStatistics output(int32_t words, int32_t lines, int32_t chars) {
  word::DocumentStatistics s;
  s.words = words;
  s.lines = lines;
  s.characters = chars;
  return s;
}

TEST(CountCheck, WordToleranceBoundsBothWays) {
  config::Settings s;  // words 30 %, lines 20 %, characters 100 %
  const auto out = output(100, 10, 500);
  for (int in : {1, 50, 69}) {
    EXPECT_EQ(CountCheck({in, 10, 500}, out, s), in) << in;
  }
  for (int in : {70, 100, 130}) {
    EXPECT_EQ(CountCheck({in, 10, 500}, out, s), 0) << in;
  }
  EXPECT_EQ(CountCheck({131, 10, 500}, out, s), 131);
  // The upper bound follows the switch; the lower one does not.
  s.WordsCountCheck = false;
  EXPECT_EQ(CountCheck({131, 10, 500}, out, s), 0);
  EXPECT_EQ(CountCheck({60, 10, 500}, out, s), 60);
}

// Each kind has its own tolerance: lines 20 %, characters 100 % by default.
TEST(CountCheck, LinesAndCharactersUseTheirOwnToleranceAtItsBounds) {
  config::Settings s;
  const auto out = output(100, 10, 500);
  EXPECT_EQ(CountCheck({100, 8, 500}, out, s), 0);  // exactly 20 % fewer lines
  EXPECT_EQ(CountCheck({100, 7, 500}, out, s), 7);
  EXPECT_EQ(CountCheck({100, 12, 500}, out, s), 0);  // exactly 20 % more
  EXPECT_EQ(CountCheck({100, 13, 500}, out, s), 13);
  EXPECT_EQ(CountCheck({100, 10, 1000}, out, s), 0);  // twice the characters
  EXPECT_EQ(CountCheck({100, 10, 1001}, out, s), 1001);
  EXPECT_EQ(CountCheck({100, 10, 1}, out, s), 0);  // 100 % allows any smaller count
  s.LineDiffWrn = 0;
  EXPECT_EQ(CountCheck({100, 11, 500}, out, s), 11);
  EXPECT_EQ(CountCheck({100, 10, 500}, out, s), 0);
  s.CharDiffWrn = 0;
  EXPECT_EQ(CountCheck({100, 10, 499}, out, s), 499);
}

TEST(CountCheck, ALaterDifferingKindGivesTheValue) {
  config::Settings s;
  const auto out = output(100, 10, 500);
  EXPECT_EQ(CountCheck({50, 5, 500}, out, s), 5);       // words and lines: lines
  EXPECT_EQ(CountCheck({50, 10, 1200}, out, s), 1200);  // words and characters: characters
  EXPECT_EQ(CountCheck({50, 5, 1200}, out, s), 1200);
}

TEST(CountCheck, AbsentCountsNeverWarnAndSuppressEarlierKinds) {
  config::Settings s;
  const auto out = output(100, 10, 500);
  EXPECT_EQ(CountCheck({-1, -1, -1}, out, s), -1);
  // Words differ, then an absent character count differs last and wins with -1.
  EXPECT_LE(CountCheck({10, 10, -1}, out, s), 0);
  EXPECT_EQ(CountCheck({10, 10, 500}, out, s), 10);
}

TEST(CountCheck, NothingDiffersWithSwitchesOffAndZeroCounts) {
  config::Settings s;
  s.WordsCountCheck = s.LinesCountCheck = s.CharsCountCheck = false;
  EXPECT_EQ(CountCheck({0, 0, 0}, output(0, 0, 0), s), 0);
}

TEST(CountCheck, WarningLineAlignsCountsInSixCharacters) {
  EXPECT_EQ(CountWarningLine({1234, 56, 7890}, output(1200, 50, 12345678)),
            " Warning - Input file words, lines, characters count:   1234    56  7890"
            " / Ouput file:   1200    5012345678");
}

}  // namespace
}  // namespace kelvara::run
