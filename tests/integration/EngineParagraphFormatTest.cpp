// Paragraph format of the whole content through the real office, read back from the saved
// .docx: every paragraph, those in tables included, carries the values.

#include <gtest/gtest.h>

#include <tuple>

#include "ContentFormatSupport.h"

namespace kelvara::word {
namespace {

using testing::attribute;
using testing::elements;
using testing::has;
using testing::textOf;

// A table before the first paragraph (which a text cursor cannot reach), paragraphs of
// different line spacing, a table between paragraphs.
const char* kMixedRtf =
    "{\\rtf1\\ansi\\deff0\\deflang1033{\\fonttbl{\\f0 Times New Roman;}}"
    "\\trowd\\cellx3000\\cellx6000 Cell one\\cell Cell two\\cell\\row"
    "\\pard\\sl360\\slmult1 First paragraph.\\par"
    "\\pard\\qc Second paragraph.\\par"
    "\\trowd\\cellx3000\\cellx6000 Cell three\\cell Cell four\\cell\\row"
    "\\pard Last paragraph.\\par}";

class EngineParagraphFormatTest : public testing::ContentFormatTest {
 protected:
  static void SetUpTestSuite() { startEngine("paragraphs"); }
};

TEST_F(EngineParagraphFormatTest, EveryParagraphAndCellTakesTheValues) {
  auto document = openRtf("mixed.rtf", kMixedRtf);
  ASSERT_TRUE(document);
  EXPECT_EQ(document->lineSpacingRule(), -1);  // single and one and a half
  ParagraphFormatValues values;
  values.alignment = 3;
  values.leftIndent = 17;
  values.rightIndent = 36;
  values.firstLineIndent = -9;
  values.spaceBefore = 6;
  values.spaceAfter = 12;
  values.lineSpacingRule = 1;
  values.widowControl = false;
  values.keepWithNext = true;
  values.keepTogether = true;
  document->applyParagraphFormat(values);
  EXPECT_EQ(document->lineSpacingRule(), 1);
  const std::string body = savedBody(document, "mixed.docx");

  std::vector<std::string> texts;
  for (const std::string& paragraph : elements(body, "w:p")) {
    if (textOf(paragraph).empty()) {
      continue;  // the office's empty paragraph after a table
    }
    texts.push_back(textOf(paragraph));
    SCOPED_TRACE(textOf(paragraph));
    EXPECT_EQ(attribute(paragraph, "w:jc", "w:val"), "both");
    EXPECT_EQ(attribute(paragraph, "w:ind", "w:left"), "340");  // twips
    EXPECT_EQ(attribute(paragraph, "w:ind", "w:right"), "720");
    EXPECT_EQ(attribute(paragraph, "w:ind", "w:hanging"), "180");
    EXPECT_EQ(attribute(paragraph, "w:spacing", "w:before"), "120");
    EXPECT_EQ(attribute(paragraph, "w:spacing", "w:after"), "240");
    EXPECT_EQ(attribute(paragraph, "w:spacing", "w:line"), "360");
    EXPECT_EQ(attribute(paragraph, "w:spacing", "w:lineRule"), "auto");
    EXPECT_TRUE(has(paragraph, "w:keepNext"));
    EXPECT_TRUE(has(paragraph, "w:keepLines"));
    EXPECT_EQ(attribute(paragraph, "w:widowControl", "w:val"), "false");
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"Cell one", "Cell two", "First paragraph.",
                                             "Second paragraph.", "Cell three", "Cell four",
                                             "Last paragraph."}));
}

TEST_F(EngineParagraphFormatTest, HeightsGoWithAtLeastAndExactlyOnly) {
  // Word's sequence: the rule first, then the height, which the rule decides about.
  for (const auto& [rule, lineRule, line] :
       std::vector<std::tuple<int32_t, std::string, std::string>>{
           {4, "exact", "300"}, {3, "atLeast", "300"}, {2, "auto", "480"}, {0, "auto", "240"}}) {
    SCOPED_TRACE(rule);
    auto document = openRtf("spacing.rtf", kMixedRtf);
    ASSERT_TRUE(document);
    ParagraphFormatValues ruleOnly;
    ruleOnly.lineSpacingRule = rule;
    document->applyParagraphFormat(ruleOnly);
    ASSERT_EQ(document->lineSpacingRule(), rule);
    if (rule == 3 || rule == 4) {
      ParagraphFormatValues height;
      height.lineSpacing = 15;
      document->applyParagraphFormat(height);
      EXPECT_EQ(document->lineSpacingRule(), rule);
    }
    const std::string body = savedBody(document, "spacing-" + std::to_string(rule) + ".docx");
    for (const std::string& paragraph : elements(body, "w:p")) {
      if (!textOf(paragraph).empty()) {
        EXPECT_EQ(attribute(paragraph, "w:spacing", "w:lineRule"), lineRule) << textOf(paragraph);
        EXPECT_EQ(attribute(paragraph, "w:spacing", "w:line"), line) << textOf(paragraph);
      }
    }
  }
}

TEST_F(EngineParagraphFormatTest, SwitchesAndPageBreaksBefore) {
  auto document = openRtf("switches.rtf",
                          "{\\rtf1\\ansi\\deflang1033\\sectd\\linemod1 One.\\par Two.\\par "
                          "Three.\\par\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240 "
                          "Landscape.\\par Four.\\par}");
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionCount(), 2);
  ParagraphFormatValues values;
  values.widowControl = true;
  values.pageBreakBefore = true;
  values.noLineNumber = true;
  values.hyphenation = false;
  values.alignment = 2;
  document->applyParagraphFormat(values);
  // Page breaks before every paragraph; the one that starts the landscape section stays the
  // section break.
  EXPECT_EQ(document->sectionCount(), 2);
  EXPECT_EQ(document->sectionOrientation(2), 1);
  EXPECT_EQ(document->sectionText(1), U"One.\r\fTwo.\r\fThree.\r");
  EXPECT_EQ(document->sectionText(2), U"Landscape.\r\fFour.\r");
  const std::string body = savedBody(document, "switches.docx");
  std::vector<std::string> breaksAfter;  // the office writes a break before as one after
  for (const std::string& paragraph : elements(body, "w:p")) {
    SCOPED_TRACE(textOf(paragraph));
    EXPECT_EQ(attribute(paragraph, "w:jc", "w:val"), "right");
    EXPECT_TRUE(has(paragraph, "w:suppressLineNumbers"));
    EXPECT_EQ(attribute(paragraph, "w:suppressAutoHyphens", "w:val"), "true");
    EXPECT_TRUE(has(paragraph, "w:widowControl"));
    EXPECT_NE(attribute(paragraph, "w:widowControl", "w:val"), "false");
    if (attribute(paragraph, "w:br", "w:type") == "page") {
      breaksAfter.push_back(textOf(paragraph));
    }
  }
  EXPECT_EQ(breaksAfter, (std::vector<std::string>{"One.", "Two.", "Landscape."}));

  // Off takes nothing away: the office keeps typed page breaks in the same attribute.
  auto again = open(file("switches.docx"));
  ASSERT_TRUE(again);
  ParagraphFormatValues off;
  off.pageBreakBefore = false;
  again->applyParagraphFormat(off);
  EXPECT_EQ(again->sectionText(1), U"One.\r\fTwo.\r\fThree.\r");
  close(again);
}

}  // namespace
}  // namespace kelvara::word
