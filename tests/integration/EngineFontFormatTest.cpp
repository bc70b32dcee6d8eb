// Font of the whole content through the real office, read back from the saved .docx run by
// run: name, style and size on every run, Word's shrink and grow steps on runs of mixed sizes,
// spacing, position and scaling.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ContentFormatSupport.h"

namespace kelvara::word {
namespace {

using testing::attribute;
using testing::elements;
using testing::has;
using testing::textOf;

// Runs of three sizes, a run at 13 points (between two listed sizes), a table before the
// first paragraph and one between paragraphs.
const char* kSizesRtf =
    "{\\rtf1\\ansi\\deff0\\deflang1033{\\fonttbl{\\f0 Times New Roman;}}"
    "\\trowd\\cellx3000\\cellx6000 {\\fs16 tiny}\\cell {\\fs144 huge}\\cell\\row"
    "\\pard {\\fs20 small }{\\fs28 medium }{\\fs48 large}\\par"
    "\\trowd\\cellx3000\\cellx6000 {\\fs22 eleven}\\cell {\\fs26 thirteen}\\cell\\row"
    "\\pard\\fs24 twelve\\par}";

const char* kAllText = "tinyhugesmall medium largeeleventhirteentwelve";

// Each run's text with its w:sz (half-points), for runs with text.
std::map<std::string, std::string> sizesOf(const std::string& body) {
  std::map<std::string, std::string> sizes;
  for (const std::string& run : elements(body, "w:r")) {
    if (!textOf(run).empty()) {
      sizes[textOf(run)] = attribute(run, "w:sz", "w:val").value_or("default");
    }
  }
  return sizes;
}

class EngineFontFormatTest : public testing::ContentFormatTest {
 protected:
  static void SetUpTestSuite() { startEngine("fonts"); }

  std::map<std::string, std::string> sizesAfter(const FontFormatValues& values,
                                                const std::string& name) {
    auto document = openRtf(name + ".rtf", kSizesRtf);
    if (!document) {
      return {};
    }
    document->applyFont(values);
    return sizesOf(savedBody(document, name + ".docx"));
  }
};

TEST_F(EngineFontFormatTest, NameStyleAndSizeReachEveryRun) {
  auto document = openRtf("plain.rtf", kSizesRtf);
  ASSERT_TRUE(document);
  FontFormatValues values;
  values.name = "Liberation Mono";
  values.style = 3;
  values.size = 11;
  document->applyFont(values);
  const std::string body = savedBody(document, "plain.docx");
  std::string text;  // runs of one format may have joined
  for (const std::string& run : elements(body, "w:r")) {
    if (textOf(run).empty()) {
      continue;
    }
    text += textOf(run);
    SCOPED_TRACE(textOf(run));
    EXPECT_EQ(attribute(run, "w:rFonts", "w:ascii"), "Liberation Mono");
    EXPECT_EQ(attribute(run, "w:sz", "w:val"), "22");
    EXPECT_EQ(attribute(run, "w:szCs", "w:val"), "22");
    EXPECT_TRUE(has(run, "w:b"));
    EXPECT_TRUE(has(run, "w:i"));
  }
  EXPECT_EQ(text, kAllText);
}

TEST_F(EngineFontFormatTest, ItalicAloneLeavesTheWeight) {
  auto document = openRtf("italic.rtf", "{\\rtf1\\ansi Plain {\\b bold} text.\\par}");
  ASSERT_TRUE(document);
  FontFormatValues values;
  values.style = 1;
  document->applyFont(values);
  const std::string body = savedBody(document, "italic.docx");
  for (const std::string& run : elements(body, "w:r")) {
    if (!textOf(run).empty()) {
      EXPECT_TRUE(has(run, "w:i")) << textOf(run);
      EXPECT_EQ(has(run, "w:b"), textOf(run) == "bold") << textOf(run);
    }
  }
}

TEST_F(EngineFontFormatTest, ShrinkAndGrowStepEachRunAlongTheSizeList) {
  FontFormatValues shrink;
  shrink.shrinkSteps = 2;
  EXPECT_EQ(sizesAfter(shrink, "shrink"),
            (std::map<std::string, std::string>{{"tiny", "12"},       // 8 -> 7 -> 6
                                                {"huge", "72"},       // 72 -> 48 -> 36
                                                {"small ", "16"},     // 10 -> 9 -> 8
                                                {"medium ", "22"},    // 14 -> 12 -> 11
                                                {"large", "40"},      // 24 -> 22 -> 20
                                                {"eleven", "18"},     // 11 -> 10 -> 9
                                                {"thirteen", "22"},   // 13 -> 12 -> 11
                                                {"twelve", "20"}}));  // 12 -> 11 -> 10
  FontFormatValues grow;
  grow.growSteps = 1;
  EXPECT_EQ(sizesAfter(grow, "grow"),
            (std::map<std::string, std::string>{{"tiny", "18"},
                                                {"huge", "160"},  // 72 -> 80
                                                {"small ", "22"},
                                                {"medium ", "32"},
                                                {"large", "52"},
                                                {"eleven", "24"},
                                                {"thirteen", "28"},
                                                {"twelve", "28"}}));
}

TEST_F(EngineFontFormatTest, SpacingPositionScalingAndKerning) {
  auto document = openRtf("spacing.rtf", kSizesRtf);
  ASSERT_TRUE(document);
  FontFormatValues values;
  values.size = 12;
  values.spacing = -1.5;
  values.position = 3;
  values.scaling = 150;
  values.kerningFrom = 14;
  document->applyFont(values);
  const std::string body = savedBody(document, "spacing.docx");
  std::string text;
  for (const std::string& run : elements(body, "w:r")) {
    if (textOf(run).empty()) {
      continue;
    }
    text += textOf(run);
    SCOPED_TRACE(textOf(run));
    EXPECT_EQ(attribute(run, "w:sz", "w:val"), "24");        // the size is kept
    EXPECT_EQ(attribute(run, "w:position", "w:val"), "6");   // half-points
    EXPECT_EQ(attribute(run, "w:spacing", "w:val"), "-30");  // twips
    EXPECT_EQ(attribute(run, "w:w", "w:val"), "150");
    EXPECT_TRUE(has(run, "w:kern"));
  }
  EXPECT_EQ(text, kAllText);
}

TEST_F(EngineFontFormatTest, APositionOnMixedSizesIsThatManyPointsOnEach) {
  auto document = openRtf("raised.rtf", kSizesRtf);
  ASSERT_TRUE(document);
  FontFormatValues values;
  values.position = -4;
  document->applyFont(values);
  std::map<std::string, std::string> positions;
  for (const std::string& run : elements(savedBody(document, "raised.docx"), "w:r")) {
    if (!textOf(run).empty()) {
      positions[textOf(run)] = attribute(run, "w:position", "w:val").value_or("none");
    }
  }
  // The office holds a raise as a whole percentage of the font height: on 72 points that is
  // within half a point.
  for (const auto& [text, position] : positions) {
    EXPECT_NEAR(std::stoi(position == "none" ? "0" : position), -8, 1) << text;
  }
  EXPECT_EQ(positions.size(), 8u);
}

}  // namespace
}  // namespace kelvara::word
