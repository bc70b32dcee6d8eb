#include "config/ParameterStatus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "format/MeasurementUnits.h"

namespace kelvara::config {
namespace {

using format::FormatParameterSet;

class ParameterStatusTest : public ::testing::Test {
 protected:
  ParameterStatusTest() {
    settings.MeasurementUnits = format::kPoints;
    settings.DiffVertHorizPagParms = false;
  }

  ParameterStatus describe(const std::string& version = "11.0") const {
    return describeParameters(params, settings, version, locale);
  }
  std::string value(const std::string& parameter, const std::string& version = "11.0") const {
    const ParameterStatus status = describe(version);
    const auto it = std::find_if(status.values.begin(), status.values.end(),
                                 [&](const StatusValue& v) { return v.parameter == parameter; });
    EXPECT_NE(it, status.values.end()) << parameter;
    return it == status.values.end() ? "" : it->value;
  }
  static bool checked(const std::vector<StatusCheck>& list, const std::string& text) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const StatusCheck& c) { return c.text == text; });
    EXPECT_NE(it, list.end()) << text;
    return it != list.end() && it->checked;
  }

  FormatParameterSet params;
  Settings settings;
  platform::Locale locale;
};

TEST_F(ParameterStatusTest, ListsAndGridHaveTheirItemsInOrder) {
  const ParameterStatus status = describe();
  ASSERT_EQ(status.values.size(), 47u);
  EXPECT_EQ(status.values.front().parameter, "Paper Size");
  EXPECT_EQ(status.values[16].parameter, "Page Orientation");
  EXPECT_EQ(status.values[17].parameter, "Paragraph Alignment");
  EXPECT_EQ(status.values[31].parameter, "Paragraph Out Line Level");
  EXPECT_EQ(status.values[32].parameter, "Font Name");
  EXPECT_EQ(status.values[41].parameter, "User Name");
  EXPECT_EQ(status.values.back().parameter, "Show Revisions");
  EXPECT_EQ(status.page.size(), 17u);
  EXPECT_EQ(status.paragraph.size(), 14u);
  EXPECT_EQ(status.font.size(), 9u);
  EXPECT_EQ(status.userData.size(), 3u);
  EXPECT_EQ(status.revisions.size(), 3u);
  EXPECT_EQ(status.pageLabel, "Page");
  EXPECT_FALSE(status.twoRecords);
}

TEST_F(ParameterStatusTest, TwoRecordsAddTheLandscapeGeometryAfterTheSeventeen) {
  settings.DiffVertHorizPagParms = true;
  params.Landscape.flags.TopMargin = false;
  params.Landscape.flags.PaperSize = true;
  const ParameterStatus status = describe();
  ASSERT_EQ(status.page.size(), 27u);
  EXPECT_EQ(status.pageLabel, "Portrait Page      Landscape Page");
  EXPECT_EQ(status.page[17].text, "Paper Size");
  EXPECT_TRUE(status.page[17].checked);   // Landscape
  EXPECT_FALSE(status.page[0].checked);   // Portrait
  EXPECT_TRUE(status.page[3].checked);    // Portrait top margin
  EXPECT_FALSE(status.page[20].checked);  // Landscape top margin
  EXPECT_EQ(status.page[26].text, "Page Vertical Alignment");
  EXPECT_EQ(status.values.size(), 47u);
}

TEST_F(ParameterStatusTest, ChecksFollowTheFlags) {
  params.Paragraph.flags.PageBreakBefore = true;
  params.Paragraph.PageBreakBefore = false;  // the check shows the flag, not the value
  params.Font.flags.FontKerning = true;
  params.UserData.UserAddr = true;
  params.Revisions.flags.PrintRevisions = true;
  params.General.flags.GutterPos = true;
  const ParameterStatus status = describe();
  EXPECT_TRUE(checked(status.paragraph, "Page Break Before"));
  EXPECT_FALSE(checked(status.paragraph, "Widow Control"));
  EXPECT_TRUE(checked(status.font, "Kerning"));
  EXPECT_TRUE(checked(status.userData, "User Address"));
  EXPECT_FALSE(checked(status.userData, "User Name"));
  EXPECT_TRUE(checked(status.revisions, "Print Revisions"));
  EXPECT_TRUE(checked(status.page, "Page Gutter On Top"));
  EXPECT_FALSE(checked(status.page, "Page Gutter"));
}

TEST_F(ParameterStatusTest, RevisionsShowOnlyForTheGenerationsThatHaveThem) {
  EXPECT_TRUE(describe("10.0").revisionsShown);
  EXPECT_TRUE(describe("11.0").revisionsShown);
  EXPECT_FALSE(describe("12.0").revisionsShown);
  EXPECT_FALSE(describe("9.0").revisionsShown);
}

TEST_F(ParameterStatusTest, InchesShowTheRoundedLengthAndLeaveTheCallersSetInPoints) {
  settings.MeasurementUnits = format::kInches;
  EXPECT_EQ(value("Page Top Margin"), "0.79");
  EXPECT_EQ(value("Paragraph Left Indent"), "0.24");
  // Spacing is always in points.
  params.Paragraph.flags.LineSpacing = true;
  EXPECT_EQ(value("Paragraph Line Spacing"), "15");
  EXPECT_EQ(params.Portrait.TopMargin, 56.7);
  EXPECT_EQ(params.Paragraph.ParagraphLeftIndent, 17);
}

TEST_F(ParameterStatusTest, OtherUnitsAndTheLocalesDecimalSeparator) {
  settings.MeasurementUnits = format::kMillimetres;
  EXPECT_EQ(value("Page Top Margin"), "20");
  settings.MeasurementUnits = format::kCentimetres;
  locale.decimalSeparator = ',';
  EXPECT_EQ(value("Page Top Margin"), "2");
  EXPECT_EQ(value("Page Bottom Margin"), "0,7");
}

TEST_F(ParameterStatusTest, ABrokenUnitIsReportedAndTheLengthsStayInPoints) {
  settings.MeasurementUnits = 9;
  const ParameterStatus status = describe();
  ASSERT_TRUE(status.conversionMessage.has_value());
  EXPECT_EQ(*status.conversionMessage, "Wrong measure conversion parameter 9");
  EXPECT_EQ(value("Page Top Margin"), "56.7");
}

TEST_F(ParameterStatusTest, DisabledValuesReadUnusedWhateverTheValue) {
  params.Portrait.PaperSize = 41;
  params.Portrait.flags.PaperSize = true;
  params.Portrait.flags.PageWidth = false;
  EXPECT_EQ(value("Page Width"), " -Unused-");
  EXPECT_EQ(value("Paper Size"), "Custom");
  // No dialog sets the section start flag, so its row never has a value.
  EXPECT_EQ(value("Paragraph Out Line Level"), " -Unused-");
  EXPECT_EQ(value("Font Name"), " -Unused-");
}

TEST_F(ParameterStatusTest, EnabledValuesInTheirForms) {
  params.Portrait.flags.PaperSize = true;
  params.Portrait.PaperSize = 2;
  EXPECT_EQ(value("Paper Size"), "Letter");
  params.Portrait.PaperSize = 99;  // not in the list: the code itself
  EXPECT_EQ(value("Paper Size"), "99");
  params.Portrait.VerticalAlignment = 3;
  EXPECT_EQ(value("Page Vertical Alignment"), "3");

  auto& g = params.General;
  g.flags = {true, true, true, true, true, true, true, false};
  g.GutterOnTop = true;
  g.Gutter = 12.5;
  g.Orientation = 1;
  g.OddAndEvenPagesHeaderFooter = true;
  EXPECT_EQ(value("Page Gutter On Top"), "1");
  EXPECT_EQ(value("Page Gutter"), "12.5");
  EXPECT_EQ(value("Page Orientation"), "1");
  EXPECT_EQ(value("Page Odd and Even Pages Header/Footer"), "true");
  EXPECT_EQ(value("Page Mirror Margins"), "false");

  params.Paragraph.flags.PageBreakBefore = true;
  params.Paragraph.PageBreakBefore = true;
  params.Paragraph.flags.LineSpacingRule = true;
  params.Paragraph.ParagraphLineSpacingRule = 4;
  EXPECT_EQ(value("Paragraph Page Break Before"), "true");
  EXPECT_EQ(value("Paragraph Line Spacing Rule"), "4");

  params.Font.flags.FontName = true;
  params.Font.flags.FontKerning = true;
  params.Font.FontKerning = false;
  params.Font.FontKerningValue = 14;
  params.Font.flags.FontSpacing = true;
  params.Font.FontSpacing = 1.5;
  EXPECT_EQ(value("Font Name"), "Courier New");
  EXPECT_EQ(value("Font Kerning"), "14");
  EXPECT_EQ(value("Font Spacing"), "1.5");

  params.UserData.UserInitials = true;
  settings.UserInitials = "JD";
  EXPECT_EQ(value("User Initials"), "JD");
  params.Revisions.flags.TrackRevisions = true;
  EXPECT_EQ(value("Track Revisions"), "false");
  EXPECT_EQ(value("Show Revisions"), " -Unused-");
}

TEST_F(ParameterStatusTest, TwoRecordsJoinPortraitAndLandscapeValues) {
  settings.DiffVertHorizPagParms = true;
  params.Landscape.TopMargin = 19.85;
  EXPECT_EQ(value("Page Top Margin"), "56.7 - 19.85");

  params.Landscape.flags.TopMargin = false;
  EXPECT_EQ(value("Page Top Margin"), "56.7 - -Unused-");
  params.Portrait.flags.TopMargin = false;
  EXPECT_EQ(value("Page Top Margin"), " -Unused-");
  params.Landscape.flags.TopMargin = true;
  EXPECT_EQ(value("Page Top Margin"), "-Unused- - 19.85");

  params.Portrait.flags.PaperSize = true;
  params.Landscape.flags.PaperSize = true;
  params.Landscape.PaperSize = 6;
  EXPECT_EQ(value("Paper Size"), "A4 - A3");
  // The document-wide rows have one value only.
  params.General.flags.Gutter = true;
  EXPECT_EQ(value("Page Gutter"), "0");
}

}  // namespace
}  // namespace kelvara::config
