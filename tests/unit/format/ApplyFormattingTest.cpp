#include "format/ApplyFormatting.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/FakeDocumentEngine.h"

namespace kelvara::format {
namespace {

using Section = testing::FakeDocumentEngine::Script::Section;

class ApplyFormattingTest : public ::testing::Test {
 protected:
  // Opens "doc.rtf" with the given sections and formats it; returns the report.
  word::FormattingReport format(std::vector<Section> sections,
                                const std::string& version = "12.0") {
    engine_.scripts["doc.rtf"].sections = std::move(sections);
    document_ = engine_.open({"/in/doc.rtf", 0, false, false});
    DocumentFormatter formatter(params_, version);
    word::FormattingReport report;
    report.progress = [this](const std::string& text) { progress_.push_back(text); };
    formatter.ApplyFormatting(settings_, engine_, *document_, report);
    return report;
  }
  const auto& calls() const { return engine_.formatting; }
  // The text of a section after formatting.
  std::u32string textOf(int32_t section) { return document_->sectionText(section); }

  testing::FakeDocumentEngine engine_;
  FormatParameterSet params_;
  config::Settings settings_;
  std::unique_ptr<word::Document> document_;
  std::vector<std::string> progress_;
};

double single(double v) {
  return static_cast<double>(static_cast<float>(v));
}

TEST_F(ApplyFormattingTest, DefaultsGiveEachSectionItsOrientationsPageValuesAndOneLogLine) {
  params_.Landscape.TopMargin = 30;
  const auto report = format({Section{0, U"one\r"}, Section{1, U"two\r"}, Section{0, U"three\r"}});

  EXPECT_EQ(report.logText, "Sect. 1 Portr., Sect. 2 Landsc., Sect. 3 Portr. \n");
  EXPECT_EQ(progress_,
            (std::vector<std::string>{"Section Nr. 1 - Portrait", "Section Nr. 2 - Landscape",
                                      "Section Nr. 3 - Portrait"}));
  EXPECT_EQ(report.currentSection, 0);

  ASSERT_EQ(calls().pageSetups.size(), 3u);  // no document-wide call: none of its flags is on
  for (int i = 0; i < 3; ++i) {
    const auto& [section, values] = calls().pageSetups[static_cast<size_t>(i)];
    EXPECT_EQ(section, i + 1);
    EXPECT_EQ(values.orientation, i == 1 ? 1 : 0);
    EXPECT_EQ(values.topMargin, single(i == 1 ? 30 : 56.7));
    EXPECT_EQ(values.bottomMargin, single(19.85));
    EXPECT_EQ(values.headerDistance, single(19.85));
    EXPECT_EQ(values.verticalAlignment, 0);
    EXPECT_FALSE(values.paperSize);  // paper size is off by default
    EXPECT_FALSE(values.pageWidth);
    EXPECT_EQ(values.footerOn, true);  // with the page values, for the page numbers
  }
  ASSERT_EQ(calls().paragraphFormats.size(), 1u);
  EXPECT_EQ(calls().paragraphFormats[0].leftIndent, 17);
  EXPECT_EQ(calls().paragraphFormats[0].rightIndent, 17);
  EXPECT_FALSE(calls().paragraphFormats[0].alignment);
  EXPECT_TRUE(calls().fonts.empty());
  EXPECT_TRUE(calls().userData.empty());
  EXPECT_EQ(calls().pageNumbers,
            (std::vector<std::pair<int32_t, bool>>{{1, true}, {2, true}, {3, true}}));
}

TEST_F(ApplyFormattingTest, EverythingOffLeavesOnlyTheOrientationOfEachSection) {
  params_.Portrait.flags = {false, false, false, false, false, false, false, false, false, false};
  params_.Paragraph.flags.LeftIndent = false;
  params_.Paragraph.flags.RightIndent = false;
  settings_.AddPagesNumbers = false;
  settings_.RemoveEmptySections = false;
  settings_.RemoveCRAtEndOfSections = false;
  format({Section{0, U"a\r\r\r"}});
  ASSERT_EQ(calls().pageSetups.size(), 1u);
  word::PageSetupValues orientationOnly;
  orientationOnly.orientation = 0;
  EXPECT_EQ(calls().pageSetups[0].second, orientationOnly);
  EXPECT_TRUE(calls().paragraphFormats.empty());
  EXPECT_TRUE(calls().pageNumbers.empty());
  EXPECT_TRUE(calls().deletions.empty());
}

TEST_F(ApplyFormattingTest, AFailingSectionStopsTheLoopAndSaysWhichSection) {
  engine_.scripts["doc.rtf"].sections = {Section{0}, Section{1}, Section{0}};
  engine_.scripts["doc.rtf"].failPageSetupOfSection = 2;
  auto document = engine_.open({"/in/doc.rtf", 0, false, false});
  DocumentFormatter formatter(params_, "12.0");
  word::FormattingReport report;
  EXPECT_THROW(formatter.ApplyFormatting(settings_, engine_, *document, report), word::EngineError);
  EXPECT_EQ(report.currentSection, 2);
  EXPECT_EQ(report.logText, "Sect. 1 Portr., Sect. 2 ");
  EXPECT_EQ(engine_.formatting.pageSetups.size(), 2u);
}

TEST_F(ApplyFormattingTest, PortraitAfterLandscapeLosesEmptyParagraphsBeforeItsPageBreak) {
  format({Section{1, U"wide\r"}, Section{0, U"\r\r\fbody\r"},
          Section{0,
                  U"\r\r\fnot after "
                  U"landscape\r"}});
  EXPECT_EQ(textOf(2), U"body\r");
  // A portrait section after a portrait one is never examined.
  EXPECT_EQ(textOf(3), U"\r\r\fnot after landscape\r");
}

TEST_F(ApplyFormattingTest, FourEmptyParagraphsGoWithTheBreakButNoneWithoutABreak) {
  format({Section{1}, Section{0, U"\r\r\r\r\fbody\r"}, Section{1}, Section{0, U"\r\rbody\r"}});
  EXPECT_EQ(textOf(2), U"body\r");
  EXPECT_EQ(textOf(4), U"\r\rbody\r");
  ASSERT_FALSE(calls().deletions.empty());
  EXPECT_EQ(calls().deletions.front(), std::make_pair(2, 5));
}

TEST_F(ApplyFormattingTest, EmptyStartCleanUpIsOffWithItsSwitch) {
  settings_.RemoveEmptySections = false;
  format({Section{1}, Section{0, U"\r\r\fbody\r"}});
  EXPECT_EQ(textOf(2), U"\r\r\fbody\r");
}

TEST_F(ApplyFormattingTest, TrailingMarksAllButOneGoBlanksIncluded) {
  format({Section{0, U"abc\r\r\r\r\r"}, Section{0, U"abc\r"}, Section{0, U"abc  \r"},
          Section{0, U"\r"}});
  EXPECT_EQ(textOf(1), U"abc\r");
  EXPECT_EQ(textOf(2), U"abc\r");
  EXPECT_EQ(textOf(3), U"abc\r");
  EXPECT_EQ(textOf(4), U"\r");
  EXPECT_EQ(calls().deletions, (std::vector<std::pair<int32_t, int32_t>>{{1, -4}, {3, -2}}));
}

TEST_F(ApplyFormattingTest, TrailingCleanUpLooksAtNoMoreThanItsReach) {
  format({Section{0, U"abc" + std::u32string(150, U'\r')}});
  // 101 characters are looked at; all are marks, so 100 go and 50 stay before the last.
  ASSERT_EQ(calls().deletions.size(), 1u);
  EXPECT_EQ(calls().deletions[0].second, -100);
  EXPECT_EQ(textOf(1).size(), 3u + 50u);
}

TEST_F(ApplyFormattingTest, FontValuesOutsideTheirRangeAreNotWritten) {
  params_.Font.flags.FontScaling = true;
  params_.Font.flags.FontStyle = true;
  params_.Font.FontStyle = 0;
  for (int scaling : {0, 601}) {
    params_.Font.FontScaling = scaling;
    format({Section{0}});
  }
  EXPECT_TRUE(calls().fonts.empty());

  params_.Font.FontScaling = 600;
  params_.Font.FontStyle = 3;
  params_.Font.flags.FontShrink = true;
  params_.Font.FontShrink = 3;
  params_.Font.flags.FontKerning = true;
  params_.Font.FontKerningValue = 14;
  format({Section{0}});
  ASSERT_EQ(calls().fonts.size(), 1u);
  EXPECT_EQ(calls().fonts[0].scaling, 600);
  EXPECT_EQ(calls().fonts[0].style, 3);
  EXPECT_EQ(calls().fonts[0].shrinkSteps, 3);
  EXPECT_FALSE(calls().fonts[0].growSteps);
  EXPECT_EQ(calls().fonts[0].kerning, true);
  EXPECT_EQ(calls().fonts[0].kerningFrom, 14);
}

TEST_F(ApplyFormattingTest, SpacingAndPositionNeedTheirTypeToBeChosen) {
  params_.Font.flags.FontSpacing = true;
  params_.Font.flags.FontPosition = true;
  params_.Font.FontSpacing = 1.5;
  params_.Font.FontPosition = 3;
  format({Section{0}});
  EXPECT_TRUE(calls().fonts.empty());
  params_.Font.FontSpacingType = 1;
  params_.Font.FontPositionType = 1;
  format({Section{0}});
  ASSERT_EQ(calls().fonts.size(), 1u);
  EXPECT_EQ(calls().fonts[0].spacing, 1.5);
  EXPECT_EQ(calls().fonts[0].position, 3);
}

TEST_F(ApplyFormattingTest, LineSpacingIsWrittenOnlyUnderAtLeastOrExactly) {
  params_.Paragraph.flags.LeftIndent = false;
  params_.Paragraph.flags.RightIndent = false;
  params_.Paragraph.flags.LineSpacing = true;
  params_.Paragraph.ParagraphLineSpacing = 18;
  engine_.scripts["doc.rtf"].lineSpacingRule = 5;
  format({Section{0}});
  EXPECT_TRUE(calls().paragraphFormats.empty());

  engine_.scripts["doc.rtf"].lineSpacingRule = 4;
  format({Section{0}});
  ASSERT_EQ(calls().paragraphFormats.size(), 1u);
  EXPECT_EQ(calls().paragraphFormats[0].lineSpacing, 18);
  EXPECT_EQ(calls().paragraphFormats[0].lineSpacingRule, 4);
}

TEST_F(ApplyFormattingTest, ARuleSetInTheSameStepDecidesTheLineSpacing) {
  params_.Paragraph.flags.LineSpacing = true;
  params_.Paragraph.flags.LineSpacingRule = true;
  params_.Paragraph.ParagraphLineSpacingRule = 3;
  engine_.scripts["doc.rtf"].lineSpacingRule = 0;  // as opened
  format({Section{0}});
  ASSERT_EQ(calls().paragraphFormats.size(), 1u);
  EXPECT_EQ(calls().paragraphFormats[0].lineSpacingRule, 3);
  EXPECT_EQ(calls().paragraphFormats[0].lineSpacing, 15);
  EXPECT_EQ(calls().paragraphFormats[0].leftIndent, 17);

  engine_.formatting = {};
  params_.Paragraph.ParagraphLineSpacingRule = 5;
  format({Section{0}});
  ASSERT_EQ(calls().paragraphFormats.size(), 1u);
  EXPECT_FALSE(calls().paragraphFormats[0].lineSpacing);
}

TEST_F(ApplyFormattingTest, WidthAndHeightCountOnlyOnCustomPaper) {
  params_.Portrait.flags.PageWidth = true;
  params_.Portrait.flags.PageHeight = true;
  params_.Portrait.PageWidth = 500;
  params_.Portrait.PageHeight = 700;
  format({Section{0, U"x\r", 7}, Section{0, U"y\r", 41}});
  EXPECT_FALSE(calls().pageSetups[0].second.pageWidth);
  EXPECT_EQ(calls().pageSetups[1].second.pageWidth, 500);
  EXPECT_EQ(calls().pageSetups[1].second.pageHeight, 700);

  engine_.formatting = {};
  params_.Portrait.flags.PaperSize = true;
  params_.Portrait.PaperSize = 41;
  format({Section{0, U"x\r", 7}});
  EXPECT_EQ(calls().pageSetups[0].second.paperSize, 41);
  EXPECT_EQ(calls().pageSetups[0].second.pageWidth, 500);
}

TEST_F(ApplyFormattingTest, DocumentWideOrientationComesFirstAndPicksEachSectionsRecord) {
  params_.General.flags.Orientation = true;
  params_.General.Orientation = 1;
  params_.General.flags.MirrorMargins = true;
  params_.General.MirrorMargins = true;
  params_.Landscape.TopMargin = 33;
  format({Section{0}, Section{0}});
  ASSERT_EQ(calls().pageSetups.size(), 3u);
  EXPECT_EQ(calls().pageSetups[0].first, 0);
  EXPECT_EQ(calls().pageSetups[0].second.orientation, 1);
  EXPECT_EQ(calls().pageSetups[0].second.mirrorMargins, true);
  EXPECT_EQ(calls().pageSetups[1].second.topMargin, 33);
  EXPECT_EQ(calls().pageSetups[2].second.topMargin, 33);
}

TEST_F(ApplyFormattingTest, RevisionSwitchesOnlyUnderTheirVersionsAndOnlySwitchOff) {
  params_.Revisions.flags = {true, true, true};
  format({Section{0}}, "12.0");
  EXPECT_TRUE(calls().switches.empty());

  format({Section{0}}, "11.0");
  EXPECT_EQ(calls().switches,
            (std::vector<std::string>{"track 0", "print 0", "show 0", "personal 1"}));
}

TEST_F(ApplyFormattingTest, OnlyTheSelectedUserDataIsSet) {
  settings_.UserName = "Ann Example";
  settings_.UserInitials = "AE";
  settings_.UserAddress = "1 Main Street";
  params_.UserData.UserInitials = true;
  format({Section{0}});
  ASSERT_EQ(calls().userData.size(), 1u);
  EXPECT_FALSE(calls().userData[0].name);
  EXPECT_EQ(calls().userData[0].initials, "AE");
  EXPECT_FALSE(calls().userData[0].address);
}

}  // namespace
}  // namespace kelvara::format
