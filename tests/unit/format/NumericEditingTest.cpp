#include "format/NumericEditing.h"

#include <gtest/gtest.h>

#include "format/ConvertLengths.h"
#include "format/MeasurementUnits.h"
#include "format/ParameterDialogRules.h"

namespace kelvara::format {
namespace {

platform::Locale commaLocale() {
  platform::Locale l;
  l.decimalSeparator = ',';
  return l;
}

NumericEditorModel lengthIn(int32_t unit, platform::Locale locale = {}) {
  NumericEditorModel m(NumericEditorKind::Length, std::move(locale));
  m.setUnit(unit);
  return m;
}

TEST(NumericEditorReading, NumberBeforeTheSuffixInTheLocalesForm) {
  NumericEditorModel cm = lengthIn(kCentimetres, commaLocale());
  cm.setText("2,5 cm");
  EXPECT_EQ(cm.value(), 2.5);
  cm.setText("2,5");  // without the suffix
  EXPECT_EQ(cm.value(), 2.5);
  cm.setText("2,5cm");  // the suffix without its blank
  EXPECT_EQ(cm.value(), 2.5);
  cm.setText(" 3 cm and more");
  EXPECT_EQ(cm.value(), 3);
  cm.setText("2.5 cm");  // a point is not this locale's separator
  EXPECT_EQ(cm.value(), 0);
  EXPECT_TRUE(cm.isUnreadable());
  cm.setText("abc");
  EXPECT_EQ(cm.value(), 0);
  EXPECT_TRUE(cm.isUnreadable());
  cm.setText("-1,25 cm");
  EXPECT_EQ(cm.value(), -1.25);
  EXPECT_FALSE(cm.isUnreadable());

  NumericEditorModel inch = lengthIn(kInches);
  inch.setText("0.24\"");
  EXPECT_EQ(inch.value(), 0.24);
}

TEST(NumericEditorReading, EmptyTextPerKind) {
  NumericEditorModel len = lengthIn(kMillimetres);
  len.setText("");
  EXPECT_TRUE(len.isEmpty());
  EXPECT_FALSE(len.isUnreadable());
  EXPECT_EQ(len.value(), 0);
  len.setText(" mm");  // the suffix alone is no number either
  EXPECT_TRUE(len.isEmpty());

  NumericEditorModel kerning(NumericEditorKind::DirectedPoints);
  kerning.setSuffix(" ");
  kerning.setRange(8, 72);
  kerning.clear();
  EXPECT_EQ(kerning.value(), 7);  // the minimum less one step

  NumericEditorModel perc(NumericEditorKind::Percent);
  perc.setText("");
  EXPECT_EQ(perc.value(), 0);
  perc.setText("12.5%");  // whole percentages only
  EXPECT_TRUE(perc.isUnreadable());
  EXPECT_EQ(perc.value(), 0);
  perc.setText("30%");
  EXPECT_EQ(perc.value(), 30);
}

TEST(NumericEditorWriting, ShortestFormWithTheSuffix) {
  EXPECT_EQ(NumericEditorModel(NumericEditorKind::Points).text(), "0 pt");
  EXPECT_EQ(NumericEditorModel(NumericEditorKind::Percent).text(), "0%");
  NumericEditorModel cm = lengthIn(kCentimetres, commaLocale());
  cm.setValue(0.1 + 0.2);
  EXPECT_EQ(cm.text(), "0,3 cm");
  NumericEditorModel inch = lengthIn(kInches);
  inch.setValue(0.24);
  EXPECT_EQ(inch.text(), "0.24\"");
  NumericEditorModel pica = lengthIn(kPicas);
  pica.setValue(66);
  EXPECT_EQ(pica.text(), "66pi");
}

TEST(NumericEditorUnits, SuffixStepAndRoundingFollowTheUnit) {
  const struct {
    int32_t unit;
    const char* suffix;
    double step, rounding;
  } cases[] = {{kInches, "\"", 0.1, 0.01},
               {kCentimetres, " cm", 0.1, 0.01},
               {kMillimetres, " mm", 1, 0.1},
               {kPoints, "pt", 1, 0.1},
               {kPicas, "pi", 1, 0.1}};
  for (const auto& c : cases) {
    const NumericEditorModel m = lengthIn(c.unit);
    EXPECT_EQ(m.suffix(), c.suffix) << c.unit;
    EXPECT_EQ(m.step(), c.step) << c.unit;
    EXPECT_EQ(m.rounding(), c.rounding) << c.unit;
  }
  NumericEditorModel odd = lengthIn(kCentimetres);
  odd.setUnit(9);
  EXPECT_EQ(odd.step(), 0.1);
  EXPECT_EQ(odd.rounding(), 0.01);
  EXPECT_EQ(odd.suffix(), " cm");
}

TEST(NumericEditorSteps, UpAndDownRoundInEveryUnit) {
  const struct {
    int32_t unit;
    const char* start;
    const char* up;
    const char* down;
  } cases[] = {{kInches, "0.245\"", "0.34\"", "0.14\""},  // 0.345 and 0.145 go to the even side
               {kCentimetres, "0.7 cm", "0.8 cm", "0.6 cm"},
               {kMillimetres, "7.25 mm", "8.2 mm", "6.2 mm"},
               {kPoints, "19.85pt", "20.8pt", "18.8pt"},
               {kPicas, "1.7pi", "2.7pi", "0.7pi"}};
  for (const auto& c : cases) {
    NumericEditorModel m = lengthIn(c.unit);
    m.setText(c.start);
    ASSERT_TRUE(m.stepUp());
    EXPECT_EQ(m.text(), c.up) << c.unit;
    m.setText(c.start);
    ASSERT_TRUE(m.stepDown());
    EXPECT_EQ(m.text(), c.down) << c.unit;
  }
}

TEST(NumericEditorSteps, LimitsHoldOnlyWhenSet) {
  NumericEditorModel firstLine = lengthIn(kInches);
  firstLine.setRange(0, 1000);
  firstLine.setText("999.95\"");
  firstLine.stepUp();
  EXPECT_EQ(firstLine.value(), 1000);
  firstLine.setText("0.05\"");
  firstLine.stepDown();
  EXPECT_EQ(firstLine.value(), 0);

  NumericEditorModel free = lengthIn(kInches);
  free.setText("0.05\"");
  free.stepDown();
  EXPECT_EQ(free.value(), -0.05);

  NumericEditorModel ro = lengthIn(kInches);
  ro.setReadOnly(true);
  ro.setText("1\"");
  EXPECT_FALSE(ro.stepUp());
  EXPECT_FALSE(ro.stepDown());
  EXPECT_EQ(ro.text(), "1\"");
}

TEST(NumericEditorSteps, PercentageRefusesToPassItsLimits) {
  NumericEditorModel p(NumericEditorKind::Percent);
  p.setRange(0, 100);
  p.setText("100%");
  EXPECT_FALSE(p.stepUp());
  EXPECT_EQ(p.text(), "100%");
  EXPECT_TRUE(p.stepDown());
  EXPECT_EQ(p.text(), "99%");
  p.setText("0%");
  EXPECT_FALSE(p.stepDown());
  p.setText("150%");  // typed beyond the maximum: Up still refuses
  EXPECT_FALSE(p.stepUp());
}

TEST(NumericEditorSteps, DirectedEditorMovesThroughZeroIntoTheOtherDirection) {
  NumericEditorModel d(NumericEditorKind::DirectedPoints);
  d.setStep(0.1);
  d.setRounding(0.01);
  d.setValue(0.1);
  d.setMode(NumericEditorModel::kDown);
  d.stepUp();
  EXPECT_EQ(d.value(), 0);
  EXPECT_EQ(d.mode(), NumericEditorModel::kNoDirection);
  d.stepUp();
  EXPECT_EQ(d.value(), 0.1);
  EXPECT_EQ(d.mode(), NumericEditorModel::kUp);
  d.stepDown();
  EXPECT_EQ(d.value(), 0);
  EXPECT_EQ(d.mode(), NumericEditorModel::kNoDirection);
  d.stepDown();
  d.stepDown();
  EXPECT_EQ(d.value(), 0.2);
  EXPECT_EQ(d.mode(), NumericEditorModel::kDown);
}

TEST(NumericEditorSteps, DirectedEditorStepsFromEmptyToItsMinimum) {
  NumericEditorModel kerning(NumericEditorKind::DirectedPoints);
  kerning.setSuffix(" ");
  kerning.setRange(8, 72);
  kerning.clear();
  kerning.stepUp();
  EXPECT_EQ(kerning.text(), "8 ");
  NumericEditorModel spacing(NumericEditorKind::DirectedPoints);
  spacing.setStep(0.1);
  spacing.clear();
  spacing.stepUp();
  EXPECT_EQ(spacing.text(), "0.1 pt");
}

TEST(NumericEditorLeaving, RewritesTheTextWithinTheLimits) {
  NumericEditorModel cm = lengthIn(kCentimetres, commaLocale());
  cm.setText("2,50cm");
  cm.leave();
  EXPECT_EQ(cm.text(), "2,5 cm");
  cm.setRange(0, 1000);
  cm.setText("5000");
  cm.leave();
  EXPECT_EQ(cm.text(), "1000 cm");
  cm.setText("");
  cm.leave();
  EXPECT_EQ(cm.text(), "0 cm");
  cm.setText("2.5 cm");  // a typing mistake is kept for the operator to see and correct
  cm.leave();
  EXPECT_EQ(cm.text(), "2.5 cm");

  NumericEditorModel d(NumericEditorKind::DirectedPoints);
  d.clear();
  d.leave();  // no value stays no value
  EXPECT_EQ(d.text(), "");
}

// Every length a dialog shows goes into the unit at opening and back into points at OK; after the
// first cycle the stored points must stay put however often the dialog is confirmed.
TEST(NumericEditorUnits, RepeatedOpenAndOkCyclesDoNotDrift) {
  for (int32_t unit : {kInches, kCentimetres, kMillimetres, kPoints, kPicas}) {
    FormatParameterSet p;
    p.Portrait.TopMargin = 56.7;
    p.Portrait.PageWidth = 595.3;
    p.Landscape.LeftMargin = 13.33;
    p.General.Gutter = 7.77;
    p.Paragraph.ParagraphLeftIndent = 17;
    p.Paragraph.ParagraphFirstLineIndent = -8.5;
    FormatParameterSet afterFirst;
    for (int cycle = 0; cycle < 20; ++cycle) {
      ASSERT_EQ(ConvertLengths(p, unit, unit), std::nullopt);
      // What the editor shows is read back as the same number.
      NumericEditorModel m = lengthIn(unit, commaLocale());
      m.setValue(p.Portrait.TopMargin);
      m.leave();
      ASSERT_EQ(m.value(), p.Portrait.TopMargin) << unit;
      p.Portrait.TopMargin = m.value();
      ASSERT_EQ(ConvertLengths(p, kPoints, unit), std::nullopt);
      if (cycle == 0) {
        afterFirst = p;
        continue;
      }
      EXPECT_EQ(p.Portrait.TopMargin, afterFirst.Portrait.TopMargin) << unit << " " << cycle;
      EXPECT_EQ(p.Portrait.PageWidth, afterFirst.Portrait.PageWidth) << unit;
      EXPECT_EQ(p.Landscape.LeftMargin, afterFirst.Landscape.LeftMargin) << unit;
      EXPECT_EQ(p.General.Gutter, afterFirst.General.Gutter) << unit;
      EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, afterFirst.Paragraph.ParagraphLeftIndent);
      EXPECT_EQ(p.Paragraph.ParagraphFirstLineIndent,
                afterFirst.Paragraph.ParagraphFirstLineIndent);
    }
    if (unit == kPoints) {
      EXPECT_EQ(p.Portrait.TopMargin, 56.7);
      EXPECT_EQ(p.Landscape.LeftMargin, 13.33);
    }
  }
}

TEST(LineSpacingField, RulesDecideValueSuffixAndStep) {
  const LineSpacingField single = lineSpacingField(kLineSpacingSingle, 15, true);
  EXPECT_TRUE(single.empty);
  const LineSpacingField atLeast = lineSpacingField(kLineSpacingAtLeast, 0, true);
  EXPECT_EQ(atLeast.value, 12);
  EXPECT_EQ(atLeast.suffix, " pt");
  EXPECT_EQ(atLeast.step, 1);
  EXPECT_EQ(lineSpacingField(kLineSpacingExactly, 18, true).value, 18);
  const LineSpacingField multiple = lineSpacingField(kLineSpacingMultiple, 15, true);
  EXPECT_EQ(multiple.value, 3);
  EXPECT_EQ(multiple.suffix, "");
  EXPECT_EQ(multiple.step, 0.5);
  // Opening the dialog shows the stored multiple instead of replacing it.
  EXPECT_EQ(lineSpacingField(kLineSpacingMultiple, 2.5, false).value, 2.5);
  EXPECT_EQ(lineSpacingField(kLineSpacingMultiple, 0, false).value, 3);
  EXPECT_TRUE(typingSwitchesToMultiple(kLineSpacingDouble));
  EXPECT_FALSE(typingSwitchesToMultiple(kLineSpacingExactly));
}

TEST(FontDirections, SignFollowsTheListAndPositionIsWhole) {
  EXPECT_EQ(fontPositionFrom(0, 5), 0);
  EXPECT_EQ(fontPositionFrom(1, 2.5), 2);  // halves to even
  EXPECT_EQ(fontPositionFrom(1, 3.5), 4);
  EXPECT_EQ(fontPositionFrom(2, 3), -3);
  EXPECT_EQ(fontSpacingFrom(0, 1.5), 0);
  EXPECT_EQ(fontSpacingFrom(1, 1.5), 1.5);
  EXPECT_EQ(fontSpacingFrom(2, 1.5), -1.5);
}

}  // namespace
}  // namespace kelvara::format
