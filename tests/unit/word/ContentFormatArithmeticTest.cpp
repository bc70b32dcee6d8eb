// Word's paragraph and font values in the office's units, and Word's font size steps.
#include <gtest/gtest.h>

#include "word/lo/FontSizeSteps.h"
#include "word/lo/FormatUnits.h"

namespace kelvara::word::lo {
namespace {

TEST(FormatUnitsTest, PointsBecomeHundredthsOfAMillimetre) {
  EXPECT_EQ(hundredthsOfMillimetre(72), 2540);
  EXPECT_EQ(hundredthsOfMillimetre(17), 600);  // 599.7
  EXPECT_EQ(hundredthsOfMillimetre(-18), -635);
  EXPECT_NEAR(pointsFromHundredths(2540), 72.0, 1e-9);
}

TEST(FormatUnitsTest, LineSpacingRulesAndBack) {
  using M = LineSpacingMode;
  EXPECT_EQ(lineSpacingFor(0, 30), (LineSpacingSetting{M::Proportional, 100}));
  EXPECT_EQ(lineSpacingFor(1, 30), (LineSpacingSetting{M::Proportional, 150}));
  EXPECT_EQ(lineSpacingFor(2, 30), (LineSpacingSetting{M::Proportional, 200}));
  EXPECT_EQ(lineSpacingFor(3, 15), (LineSpacingSetting{M::Minimum, 529}));
  EXPECT_EQ(lineSpacingFor(4, 15), (LineSpacingSetting{M::Fixed, 529}));
  // Multiples in Word's points: 18 points are one and a half lines.
  EXPECT_EQ(lineSpacingFor(5, 18), (LineSpacingSetting{M::Proportional, 150}));
  EXPECT_FALSE(lineSpacingFor(6, 12));
  EXPECT_FALSE(lineSpacingFor(-1, 12));

  for (int rule = 0; rule <= 4; ++rule) {
    EXPECT_EQ(lineSpacingRuleOf(*lineSpacingFor(rule, 15)), rule) << rule;
  }
  EXPECT_EQ(lineSpacingRuleOf({M::Proportional, 115}), 5);
  EXPECT_EQ(lineSpacingRuleOf(*lineSpacingFor(5, 24)), 2);  // a multiple of two is double
  EXPECT_EQ(lineSpacingRuleOf({M::Leading, 200}), 5);
}

TEST(FormatUnitsTest, AlignmentCodesAndEscapement) {
  EXPECT_EQ(paragraphAdjustFor(0), 0);  // left
  EXPECT_EQ(paragraphAdjustFor(1), 3);  // centre
  EXPECT_EQ(paragraphAdjustFor(2), 1);  // right
  EXPECT_EQ(paragraphAdjustFor(3), 2);  // block
  EXPECT_FALSE(paragraphAdjustFor(4));

  EXPECT_EQ(escapementPercent(3, 12), 25);
  EXPECT_EQ(escapementPercent(-6, 12), -50);
  EXPECT_EQ(escapementPercent(24, 12), 200);
  EXPECT_EQ(escapementPercent(1584, 1), 13999);  // as far as the office goes
  EXPECT_EQ(escapementPercent(5, 0), 0);
}

TEST(FontSizeStepsTest, StepsFollowWordsSizeList) {
  EXPECT_EQ(grownFontSize(12), 14);
  EXPECT_EQ(grownFontSize(28), 36);
  EXPECT_EQ(grownFontSize(48), 72);
  EXPECT_EQ(shrunkFontSize(14), 12);
  EXPECT_EQ(shrunkFontSize(36), 28);
  EXPECT_EQ(shrunkFontSize(72), 48);
  // Sizes between the listed ones go to the neighbour in the step's direction.
  EXPECT_EQ(grownFontSize(13), 14);
  EXPECT_EQ(shrunkFontSize(13), 12);
  EXPECT_EQ(grownFontSize(10.5), 11);
  EXPECT_EQ(shrunkFontSize(10.5), 10);
  EXPECT_EQ(shrunkFontSize(11.999), 11);  // the office's float for 12 is 12
}

TEST(FontSizeStepsTest, AboveTheListByTensBelowItByOnes) {
  EXPECT_EQ(grownFontSize(72), 80);
  EXPECT_EQ(grownFontSize(75), 80);
  EXPECT_EQ(grownFontSize(80), 90);
  EXPECT_EQ(shrunkFontSize(90), 80);
  EXPECT_EQ(shrunkFontSize(85), 80);
  EXPECT_EQ(shrunkFontSize(80), 72);
  EXPECT_EQ(shrunkFontSize(75), 72);
  EXPECT_EQ(grownFontSize(1638), 1638);

  EXPECT_EQ(shrunkFontSize(8), 7);
  EXPECT_EQ(shrunkFontSize(7.5), 7);
  EXPECT_EQ(shrunkFontSize(2), 1);
  EXPECT_EQ(shrunkFontSize(1), 1);
  EXPECT_EQ(grownFontSize(1), 2);
  EXPECT_EQ(grownFontSize(7), 8);
  EXPECT_EQ(grownFontSize(7.5), 8);
}

TEST(FontSizeStepsTest, SeveralStepsInEitherDirection) {
  EXPECT_EQ(steppedFontSize(12, -3), 9);
  EXPECT_EQ(steppedFontSize(12, 3), 18);
  EXPECT_EQ(steppedFontSize(10, 10), 28);
  EXPECT_EQ(steppedFontSize(12, 0), 12);
  EXPECT_EQ(steppedFontSize(9, -10), 1);
}

}  // namespace
}  // namespace kelvara::word::lo
