// Whole conversions through the real office with re-formatting on: what a user finds in the
// saved document, and how documents that resist formatting end.

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "format/ApplyFormatting.h"
#include "support/TextSearch.h"
#include "support/ZipEntry.h"
#include "word/ConversionPipeline.h"

namespace kelvara::word {
namespace {

constexpr int32_t kDocx = 16;

// An RTF document of the given sections; each is "P" (A4 portrait) or "L" (A4 landscape) and
// holds one line of text, plus the extra RTF given for it.
std::string sectionsRtf(const std::string& orientations, const std::string& extraOfSection = "") {
  std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}}\\paperw11906\\paperh16838";
  for (size_t i = 0; i < orientations.size(); ++i) {
    if (i > 0) {
      rtf += "\\sect";
    }
    rtf += orientations[i] == 'L' ? "\\sectd\\lndscpsxn\\pgwsxn16838\\pghsxn11906"
                                  : "\\sectd\\pgwsxn11906\\pghsxn16838";
    rtf += "\\pard Section " + std::to_string(i + 1) + " text" + extraOfSection + "\\par";
  }
  return rtf + "}";
}

int occurrences(const std::string& text, const std::string& what) {
  return ::kelvara::testing::count(text, what);
}

class FormattedConversionTest : public testing::OfficeSuite<FormattedConversionTest> {
 protected:
  static void SetUpTestSuite() { startOffice("formatted", 240); }

  // Converts the RTF text to .docx with the current parameters; returns the outcome.
  ConversionOutcome convert(const std::string& rtf, const std::string& name) {
    const std::string input = out_.file(name + ".rtf");
    testing::writeFile(input, rtf);
    output_ = out_.file(name + ".docx");
    format::DocumentFormatter formatter(params_, "11.0");
    PipelineContext context{settings_, *engine_, [] {}, &formatter, nullptr};
    FormatSelection selection;
    selection.saveFormat = kDocx;
    selection.OutExt = "docx";
    return ConvertDocument(context, input, output_, selection);
  }
  std::string body() const {
    return ::kelvara::testing::ReadZipEntry(output_, "word/document.xml").value_or("");
  }

  testing::TempDir out_{"formatted-out"};
  std::string output_;
  config::Settings settings_;
  format::FormatParameterSet params_;
};


TEST_F(FormattedConversionTest, EachSectionGetsTheRecordOfItsOrientation) {
  params_.Portrait.TopMargin = 72;    // 1440 twips
  params_.Landscape.TopMargin = 36;   // 720 twips
  params_.Landscape.LeftMargin = 54;  // 1080 twips
  const ConversionOutcome outcome = convert(sectionsRtf("PLP"), "plp");
  ASSERT_FALSE(outcome.failed) << outcome.failure;
  EXPECT_EQ(outcome.formattingLog, "Sect. 1 Portr., Sect. 2 Landsc., Sect. 3 Portr. \n");

  const std::string xml = body();
  std::vector<std::string> sections;
  const std::regex sectPr("<w:sectPr[\\s\\S]*?</w:sectPr>");
  for (std::sregex_iterator it(xml.begin(), xml.end(), sectPr), end; it != end; ++it) {
    sections.push_back(it->str());
  }
  ASSERT_EQ(sections.size(), 3u) << xml;
  EXPECT_TRUE(::kelvara::testing::contains(sections[0], "w:top=\"1440\"")) << sections[0];
  EXPECT_TRUE(::kelvara::testing::contains(sections[1], "w:orient=\"landscape\"")) << sections[1];
  EXPECT_TRUE(::kelvara::testing::contains(sections[1], "w:left=\"1080\"")) << sections[1];
  EXPECT_TRUE(::kelvara::testing::contains(sections[2], "w:top=\"1440\"")) << sections[2];
  // The footers carry a page number field, and every section refers to a footer.
  EXPECT_GE(occurrences(xml, "w:footerReference"), occurrences(xml, "<w:sectPr"));
  int numbered = 0;
  for (int part = 1; part <= 8; ++part) {
    const auto footer =
        ::kelvara::testing::ReadZipEntry(output_, "word/footer" + std::to_string(part) + ".xml");
    if (footer && ::kelvara::testing::contains(*footer, "PAGE")) {
      ++numbered;
    }
  }
  EXPECT_GE(numbered, 2);  // at least the portrait and the landscape page styles
}

TEST_F(FormattedConversionTest, CountsAfterSavingAreThoseOfTheFormattedDocument) {
  settings_.RemoveCRAtEndOfSections = true;
  // Five empty paragraphs end the only section: four go.
  const ConversionOutcome outcome =
      convert("{\\rtf1\\ansi Words here\\par\\par\\par\\par\\par}", "trailing");
  ASSERT_FALSE(outcome.failed) << outcome.failure;
  ASSERT_TRUE(outcome.saved);
  // The office counts only paragraphs with text; every empty one is a line of its own.
  EXPECT_EQ(outcome.statistics.lines, 5);
  EXPECT_EQ(outcome.saved->statistics.lines, 1);
}

TEST_F(FormattedConversionTest, HundredsOfSectionsAreFormattedEveryOne) {
  std::string orientations;
  for (int i = 0; i < 300; ++i) {
    orientations += (i / 10) % 2 == 0 ? 'P' : 'L';
  }
  const ConversionOutcome outcome = convert(sectionsRtf(orientations), "many");
  ASSERT_FALSE(outcome.failed) << outcome.failure;
  EXPECT_TRUE(::kelvara::testing::contains(outcome.formattingLog, "Sect. 300 Portr. \n") ||
              ::kelvara::testing::contains(outcome.formattingLog, "Sect. 300 Landsc. \n"));
  EXPECT_EQ(occurrences(body(), "<w:sectPr"), 300);
}

TEST_F(FormattedConversionTest, ADocumentThatIsOneHugeTableGetsItsIndents) {
  std::string rtf = "{\\rtf1\\ansi ";
  for (int row = 0; row < 1500; ++row) {
    rtf += "\\trowd\\cellx3000\\cellx6000\\intbl Cell " + std::to_string(row) +
           "a\\cell\\intbl Cell b\\cell\\row";
  }
  rtf += "\\pard\\par}";
  const ConversionOutcome outcome = convert(rtf, "table");
  ASSERT_FALSE(outcome.failed) << outcome.failure;
  // The default left indent, 17 pt, is 340 twips in every paragraph of the table.
  EXPECT_GE(occurrences(body(), "w:left=\"340\""), 3000);
}

TEST_F(FormattedConversionTest, AMarginThePageCannotTakeFailsInItsSection) {
  params_.Landscape.TopMargin = 5000;
  const ConversionOutcome outcome = convert(sectionsRtf("PL"), "margin");
  ASSERT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.failedSection, 2);
  EXPECT_EQ(outcome.formattingLog, "Sect. 1 Portr., Sect. 2 ");
  EXPECT_FALSE(outcome.failure.empty());
}

}  // namespace
}  // namespace kelvara::word
