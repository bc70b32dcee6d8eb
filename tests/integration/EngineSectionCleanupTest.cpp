// The two clean-ups of empty paragraphs at section boundaries through the real office: the
// characters go, the sections and their orientation stay, also after saving and reopening.

#include <gtest/gtest.h>

#include "ContentFormatSupport.h"

namespace kelvara::word {
namespace {

using testing::elements;

// Portrait, landscape, then a portrait section that starts with two empty paragraphs and a
// page break and ends in five paragraph ends. The first section ends in a blank and an empty
// paragraph.
const char* kSectionsRtf =
    "{\\rtf1\\ansi\\deflang1033\\paperw12240\\paperh15840"
    "\\sectd\\pgwsxn12240\\pghsxn15840\\pard Portrait one. \\par\\par"
    "\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240\\pard Landscape.\\par"
    "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\pard\\par\\par\\page After the break.\\par"
    " Last words.\\par\\par\\par\\par\\par}";

class EngineSectionCleanupTest : public testing::ContentFormatTest {
 protected:
  static void SetUpTestSuite() { startEngine("cleanup"); }

  static void expectThreeSections(Document& document) {
    ASSERT_EQ(document.sectionCount(), 3);
    EXPECT_EQ(document.sectionOrientation(1), 0);
    EXPECT_EQ(document.sectionOrientation(2), 1);
    EXPECT_EQ(document.sectionOrientation(3), 0);
  }

  // The clean-ups as the formatting step runs them on a section's text: the empty paragraphs
  // and the page break at its start; the paragraph ends and blanks at its end but one.
  static void removeEmptyStart(Document& document, int32_t section) {
    const std::u32string text = document.sectionText(section);
    size_t k = 0;
    while (k < text.size() && k < 100 && text[k] == U'\r') {
      ++k;
    }
    if (k < text.size() && text[k] == U'\f') {
      document.deleteSectionCharacters(section, static_cast<int32_t>(k + 1));
    }
  }
  static void removeTrailingEnds(Document& document, int32_t section) {
    const std::u32string text = document.sectionText(section);
    int32_t k = 0;
    for (size_t j = text.size(); j-- > 0 && (text[j] == U'\r' || text[j] == U' ');) {
      ++k;
    }
    if (k - 1 > 0) {
      document.deleteSectionCharacters(section, -(k - 1));
    }
  }

  // The document as RTF, or as the .docx the office makes of it (whose import carries the
  // sections and the page break in its own way).
  std::unique_ptr<Document> sectionsDocument(bool asDocx) {
    auto document = openRtf("sections.rtf", kSectionsRtf);
    if (!asDocx || !document) {
      return document;
    }
    document->saveAs(SaveRequest{file("sections.docx"), testing::kDocxFormat, {}});
    close(document);
    return open(file("sections.docx"));
  }
};

class EngineSectionCleanupByInputTest : public EngineSectionCleanupTest,
                                        public ::testing::WithParamInterface<bool> {};

TEST_P(EngineSectionCleanupByInputTest, EmptyStartAndTrailingEndsGoSectionsStay) {
  auto document = sectionsDocument(GetParam());
  ASSERT_TRUE(document);
  expectThreeSections(*document);
  EXPECT_EQ(document->sectionText(3), U"\r\r\fAfter the break.\rLast words.\r\r\r\r\r");

  // The empty paragraphs and the page break: three characters.
  document->deleteSectionCharacters(3, 3);
  expectThreeSections(*document);
  EXPECT_EQ(document->sectionText(3), U"After the break.\rLast words.\r\r\r\r\r");
  // Four of the five paragraph ends at the end; then a blank and the ends in the middle of
  // the document, before the landscape section (the .docx brings one empty paragraph less).
  document->deleteSectionCharacters(3, -4);
  removeTrailingEnds(*document, 1);
  expectThreeSections(*document);
  EXPECT_EQ(document->sectionText(1), U"Portrait one.\r");
  EXPECT_EQ(document->sectionText(2), U"Landscape.\r");
  EXPECT_EQ(document->sectionText(3), U"After the break.\rLast words.\r");

  const std::string body = savedBody(document, "cleaned.docx");
  EXPECT_EQ(body.find("w:type=\"page\""), std::string::npos) << "the page break is gone";
  EXPECT_EQ(elements(body, "w:sectPr").size(), 3u);
  auto reopened = open(file("cleaned.docx"));
  ASSERT_TRUE(reopened);
  expectThreeSections(*reopened);
  EXPECT_EQ(reopened->sectionText(3), U"After the break.\rLast words.\r");
  close(reopened);
}

INSTANTIATE_TEST_SUITE_P(RtfAndDocx, EngineSectionCleanupByInputTest, ::testing::Bool(),
                         [](const auto& param) { return param.param ? "Docx" : "Rtf"; });

TEST_F(EngineSectionCleanupTest, AFourthEmptyParagraphGoesWithTheOthers) {
  auto document = openRtf("four.rtf",
                          "{\\rtf1\\ansi\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240 Wide.\\par"
                          "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\pard\\par\\par\\par\\par"
                          "\\page Text.\\par}");
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionText(2), U"\r\r\r\r\fText.\r");
  removeEmptyStart(*document, 2);  // four plus one
  ASSERT_EQ(document->sectionCount(), 2);
  EXPECT_EQ(document->sectionOrientation(1), 1);
  EXPECT_EQ(document->sectionOrientation(2), 0);
  EXPECT_EQ(document->sectionText(2), U"Text.\r");
  close(document);
}

TEST_F(EngineSectionCleanupTest, DeletionsStopAtTablesAndKeepTheLastEnd) {
  auto document = openRtf("table.rtf",
                          "{\\rtf1\\ansi\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240 Wide.\\par"
                          "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\pard\\par"
                          "\\trowd\\cellx3000 Cell\\cell\\row\\pard After table.\\par"
                          "\\trowd\\cellx3000 Last cell\\cell\\row\\pard\\par\\par}");
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionText(2), U"\r\a\rAfter table.\r\a\r\r\r");
  // The empty paragraph goes, the table stops the rest; the table now starts the section.
  document->deleteSectionCharacters(2, 6);
  ASSERT_EQ(document->sectionCount(), 2);
  EXPECT_EQ(document->sectionOrientation(2), 0);
  EXPECT_EQ(document->sectionText(2), U"\a\rAfter table.\r\a\r\r\r");
  // From the end: what lies after the last table only.
  document->deleteSectionCharacters(2, -10);
  EXPECT_EQ(document->sectionText(2), U"\a\rAfter table.\r\a\r\r");
  // However many are asked for, the section's last paragraph end stays.
  document->deleteSectionCharacters(1, -50);
  EXPECT_EQ(document->sectionText(1), U"\r");
  ASSERT_EQ(document->sectionCount(), 2);
  EXPECT_EQ(document->sectionOrientation(1), 1);
  EXPECT_THROW(document->deleteSectionCharacters(3, 1), EngineError);
  close(document);
}

}  // namespace
}  // namespace kelvara::word
