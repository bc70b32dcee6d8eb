#include "format/ConvertLengths.h"

#include <gtest/gtest.h>

#include "format/MeasurementUnits.h"

namespace kelvara::format {
namespace {

TEST(RoundToStep, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundToStep(2.5, 1), 2);
  EXPECT_EQ(roundToStep(3.5, 1), 4);
  EXPECT_EQ(roundToStep(-2.5, 1), -2);
  EXPECT_EQ(roundToStep(2.5000001, 1), 3);
  EXPECT_EQ(roundToStep(0.125, 0.01), 0.12);
  EXPECT_EQ(roundToStep(0.135, 0.01), 0.14);
  // Decimal halves that binary cannot hold exactly still count as halves.
  EXPECT_EQ(roundToStep(0.235, 0.01), 0.24);
  EXPECT_EQ(roundToStep(0.245, 0.01), 0.24);
  EXPECT_EQ(roundToStep(0.25, 0.1), 0.2);
  EXPECT_EQ(roundToStep(17.28000000000001, 0.01), 17.28);
  EXPECT_EQ(roundToStep(19.85, 0), 19.85);
}

TEST(ConvertLengths, InchRoundTripOfAnIndent) {
  FormatParameterSet p;
  p.Paragraph.ParagraphLeftIndent = 17;
  ASSERT_EQ(ConvertLengths(p, kInches, kInches), std::nullopt);
  EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, 0.24);
  ASSERT_EQ(ConvertLengths(p, kPoints, kInches), std::nullopt);
  EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, 17.28);
}

TEST(ConvertLengths, MillimetreRoundTripKeepsWholePoints) {
  FormatParameterSet p;
  ASSERT_EQ(ConvertLengths(p, kMillimetres, kMillimetres), std::nullopt);
  EXPECT_EQ(p.Portrait.TopMargin, 20);  // 56.7 pt
  EXPECT_EQ(p.Portrait.LeftMargin, 7);  // 19.85 pt = 7.003 mm
  ASSERT_EQ(ConvertLengths(p, kPoints, kMillimetres), std::nullopt);
  EXPECT_EQ(p.Portrait.TopMargin, 57);
  EXPECT_EQ(p.Portrait.LeftMargin, 20);
}

TEST(ConvertLengths, CentimetresAndPicas) {
  FormatParameterSet cm;
  ConvertLengths(cm, kCentimetres, kCentimetres);
  EXPECT_EQ(cm.Portrait.BottomMargin, 0.7);
  EXPECT_EQ(cm.Portrait.PageWidth, 27.9);  // 792 pt = 27.94 cm
  ConvertLengths(cm, kPoints, kCentimetres);
  EXPECT_EQ(cm.Portrait.BottomMargin, 19.8);

  FormatParameterSet pica;
  ConvertLengths(pica, kPicas, kPicas);
  EXPECT_EQ(pica.Portrait.BottomMargin, 1.7);
  EXPECT_EQ(pica.Portrait.PageWidth, 66);
  ConvertLengths(pica, kPoints, kPicas);
  EXPECT_EQ(pica.Portrait.BottomMargin, 20.4);
}

TEST(ConvertLengths, EveryDisplayedLengthAndNothingElse) {
  FormatParameterSet p;
  for (PageSetupSet* s : {&p.Portrait, &p.Landscape}) {
    s->PaperSize = 7;  // width and height are converted whatever the paper
    s->PageWidth = s->PageHeight = s->TopMargin = s->BottomMargin = s->LeftMargin = s->RightMargin =
        s->FooterDistance = s->HeaderDistance = 144;
  }
  p.General.Gutter = 144;
  p.Paragraph.ParagraphLeftIndent = p.Paragraph.ParagraphRightIndent =
      p.Paragraph.ParagraphFirstLineIndent = 144;
  p.Paragraph.ParagraphSpaceBefore = p.Paragraph.ParagraphSpaceAfter =
      p.Paragraph.ParagraphLineSpacing = p.Font.FontSpacing = 144;
  p.Font.FontPosition = 144;
  p.Font.FontKerningValue = 144;
  ConvertLengths(p, kInches, kInches);
  for (const PageSetupSet* s : {&p.Portrait, &p.Landscape}) {
    for (double v : {s->PageWidth, s->PageHeight, s->TopMargin, s->BottomMargin, s->LeftMargin,
                     s->RightMargin, s->FooterDistance, s->HeaderDistance}) {
      EXPECT_EQ(v, 2);
    }
  }
  EXPECT_EQ(p.General.Gutter, 2);
  EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, 2);
  EXPECT_EQ(p.Paragraph.ParagraphRightIndent, 2);
  EXPECT_EQ(p.Paragraph.ParagraphFirstLineIndent, 2);
  EXPECT_EQ(p.Paragraph.ParagraphSpaceBefore, 144);
  EXPECT_EQ(p.Paragraph.ParagraphSpaceAfter, 144);
  EXPECT_EQ(p.Paragraph.ParagraphLineSpacing, 144);
  EXPECT_EQ(p.Font.FontSpacing, 144);
  EXPECT_EQ(p.Font.FontPosition, 144);
  EXPECT_EQ(p.Font.FontKerningValue, 144);
}

TEST(ConvertLengths, PointsAreNeverTouched) {
  FormatParameterSet p;
  p.Portrait.TopMargin = 19.8537;
  EXPECT_EQ(ConvertLengths(p, kPoints, kPoints), std::nullopt);
  EXPECT_EQ(p.Portrait.TopMargin, 19.8537);
  EXPECT_EQ(ConvertLengths(p, kPoints, kPoints), std::nullopt);
  EXPECT_EQ(p.Portrait.TopMargin, 19.8537);
}

TEST(ConvertLengths, BadParametersConvertNothing) {
  FormatParameterSet p;
  EXPECT_EQ(ConvertLengths(p, 5, kInches), "Wrong measure conversion parameter 5");
  EXPECT_EQ(ConvertLengths(p, -1, kInches), "Wrong measure conversion parameter -1");
  EXPECT_EQ(ConvertLengths(p, kPoints, 7), "Wrong measure conversion parameter: 3");
  EXPECT_EQ(ConvertLengths(p, kPoints, -1), "Wrong measure conversion parameter: 3");
  EXPECT_EQ(p.Portrait.TopMargin, 56.7);
  EXPECT_EQ(p.Paragraph.ParagraphLeftIndent, 17);
}

TEST(MeasurementUnits, TableAndEditorFallback) {
  ASSERT_NE(measurementUnit(kInches), nullptr);
  EXPECT_EQ(measurementUnit(kInches)->suffix, "\"");
  EXPECT_EQ(measurementUnit(kCentimetres)->name, "Centimetres");
  EXPECT_EQ(measurementUnit(kMillimetres)->suffix, " mm");
  EXPECT_EQ(measurementUnit(kPoints)->suffix, "pt");
  EXPECT_EQ(measurementUnit(kPicas)->pointsPerUnit, 12);
  EXPECT_EQ(measurementUnit(5), nullptr);
  EXPECT_EQ(editorStep(kMillimetres), 1);
  EXPECT_EQ(editorRounding(kMillimetres), 0.1);
  EXPECT_EQ(editorStep(9), 0.1);
  EXPECT_EQ(editorRounding(-1), 0.01);
}

}  // namespace
}  // namespace kelvara::format
