// Page setup, paper sizes and page numbers through the real office, read back from the saved
// files: the .docx package's section properties as Word reads them, and the .odt opened again.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "EngineTestSupport.h"
#include "support/ZipEntry.h"

namespace kelvara::word {
namespace {

using testing::TempDir;

constexpr int32_t kDocx = 16;
constexpr int32_t kA4 = 7;
constexpr int32_t kLetter = 2;
constexpr int32_t kCustom = 41;

// Twips of a length in points, as a .docx states it.
int twips(double points) {
  return static_cast<int>(std::lround(points * 20));
}

// The values of one element's attributes, e.g. of <w:pgMar w:top="1440" .../>.
std::map<std::string, std::string> attributesOf(const std::string& xml, const std::string& tag) {
  std::map<std::string, std::string> values;
  const size_t start = xml.find("<" + tag + " ");
  if (start == std::string::npos) {
    return values;
  }
  const size_t end = xml.find('>', start);
  size_t at = start + tag.size() + 1;
  while (at < end) {
    const size_t equals = xml.find("=\"", at);
    if (equals == std::string::npos || equals > end) {
      break;
    }
    const size_t close = xml.find('"', equals + 2);
    size_t nameStart = xml.rfind(' ', equals) + 1;
    values[xml.substr(nameStart, equals - nameStart)] = xml.substr(equals + 2, close - equals - 2);
    at = close + 1;
  }
  return values;
}

// One section of a saved .docx as Word reads it.
struct DocxSection {
  std::string xml;  // the w:sectPr element
  std::map<std::string, std::string> size, margins;

  int margin(const std::string& name) const {
    const auto it = margins.find("w:" + name);
    return it == margins.end() ? -1 : std::stoi(it->second);
  }
  int sizeOf(const std::string& name) const {
    const auto it = size.find("w:" + name);
    return it == size.end() ? -1 : std::stoi(it->second);
  }
  bool landscape() const {
    const auto it = size.find("w:orient");
    return it != size.end() && it->second == "landscape";
  }
  std::string verticalAlignment() const {
    const auto values = attributesOf(xml, "w:vAlign");
    return values.count("w:val") ? values.at("w:val") : "top";
  }
  bool titlePage() const { return xml.find("<w:titlePg/>") != std::string::npos; }
};

class Docx {
 public:
  explicit Docx(const std::string& path) : path_(path) {
    document_ = entry("word/document.xml");
    for (size_t at = 0; (at = document_.find("<w:sectPr", at)) != std::string::npos;) {
      const size_t end = document_.find("</w:sectPr>", at);
      DocxSection section;
      section.xml = document_.substr(at, end - at);
      section.size = attributesOf(section.xml, "w:pgSz");
      section.margins = attributesOf(section.xml, "w:pgMar");
      sections_.push_back(section);
      at = end;
    }
  }

  std::string entry(const std::string& name) const {
    return kelvara::testing::ReadZipEntry(path_, name).value_or("");
  }
  const std::vector<DocxSection>& sections() const { return sections_; }
  std::string settings() const { return entry("word/settings.xml"); }

  // The footer part a section uses for its default, first or even pages; empty when none.
  std::string footer(const DocxSection& section, const std::string& type) const {
    const std::string reference = "<w:footerReference w:type=\"" + type + "\" r:id=\"";
    const size_t at = section.xml.find(reference);
    if (at == std::string::npos) {
      return "";
    }
    const size_t idStart = at + reference.size();
    const std::string id = section.xml.substr(idStart, section.xml.find('"', idStart) - idStart);
    const std::string rels = entry("word/_rels/document.xml.rels");
    const size_t relation = rels.find("Id=\"" + id + "\"");
    const size_t end = rels.find("/>", relation);
    const size_t target = rels.find("Target=\"", relation);
    if (relation == std::string::npos || target > end) {
      return "";
    }
    const size_t nameStart = target + 8;
    return entry("word/" + rels.substr(nameStart, rels.find('"', nameStart) - nameStart));
  }

 private:
  std::string path_;
  std::string document_;
  std::vector<DocxSection> sections_;
};

int pageFields(const std::string& part) {
  int count = 0;
  for (size_t at = 0; (at = part.find(" PAGE ", at)) != std::string::npos; ++at) {
    ++count;
  }
  return count;
}

// The two records of a formatting run: Portrait on A4, Landscape on Letter, each with margins,
// distances and an alignment of its own.
PageSetupValues portraitRecord() {
  PageSetupValues values;
  values.paperSize = kA4;
  values.orientation = 0;
  values.topMargin = 72;
  values.bottomMargin = 54;
  values.leftMargin = 90;
  values.rightMargin = 36;
  values.headerDistance = 30;
  values.footerDistance = 20;
  values.verticalAlignment = 1;
  return values;
}

PageSetupValues landscapeRecord() {
  PageSetupValues values;
  values.paperSize = kLetter;
  values.orientation = 1;
  values.topMargin = 40;
  values.bottomMargin = 50;
  values.leftMargin = 60;
  values.rightMargin = 70;
  values.headerDistance = 15;
  values.footerDistance = 25;
  values.verticalAlignment = 3;
  return values;
}

// Portrait, landscape and portrait again on Letter paper, with or without a header in the first
// section (which the others inherit, as in Word).
std::string threeSectionsRtf(bool header) {
  return std::string(
             "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
             "\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440"
             "\\sectd\\pgwsxn12240\\pghsxn15840") +
         (header ? "\\headery720{\\header\\pard Report header\\par}" : "") +
         "\\pard Portrait part.\\par"
         "\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240\\pard Landscape part.\\par"
         "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\pard Portrait again.\\par}";
}

class EnginePageSetupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    state_ = new TempDir("pagesetup-state");
    LibreOfficeOptions options = testing::testOptions(*state_, "pagesetup");
    options.docTimeoutSeconds = 120;
    engine_ = makeLibreOfficeEngine(options).release();
    engine_->connect();
    for (const auto& converter : engine_->fileConverters()) {
      if (converter.formatName == "ODF Text Document") {
        odt_ = converter.saveFormat;
      }
    }
  }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
    delete state_;
    state_ = nullptr;
  }

  void SetUp() override { dir_ = std::make_unique<TempDir>("pagesetup"); }

  std::string file(const std::string& name) const { return dir_->file(name); }

  std::unique_ptr<Document> open(const std::string& path) {
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{path, 0, false, false});
    EXPECT_TRUE(document) << engine_->lastErrorText();
    return document;
  }

  std::unique_ptr<Document> openRtf(const std::string& name, const std::string& rtf) {
    testing::writeFile(file(name), rtf);
    return open(file(name));
  }

  // Saves as .docx (and as .odt when asked), closes, and reads the .docx.
  Docx saveAndClose(std::unique_ptr<Document> document, const std::string& name,
                    bool alsoOdt = false) {
    document->saveAs(SaveRequest{file(name + ".docx"), kDocx, std::nullopt});
    if (alsoOdt) {
      document->saveAs(SaveRequest{file(name + ".odt"), odt_, std::nullopt});
    }
    document->close();
    engine_->endDocument();
    return Docx(file(name + ".docx"));
  }

  static void expectNear(int actual, int expected, const std::string& what) {
    EXPECT_LE(std::abs(actual - expected), 2)
        << what << ": " << actual << " twips, expected " << expected;
  }

  // Word's page of a record: size (twips), margins and distances, alignment. The alignment is
  // left out for pages that went through the office's own format, which does not hold it.
  static void expectRecord(const DocxSection& section, const PageSetupValues& record, int width,
                           int height, bool alignment = true) {
    expectNear(section.sizeOf("w"), width, "page width");
    expectNear(section.sizeOf("h"), height, "page height");
    EXPECT_EQ(section.landscape(), record.orientation == 1);
    expectNear(section.margin("top"), twips(*record.topMargin), "top margin");
    expectNear(section.margin("bottom"), twips(*record.bottomMargin), "bottom margin");
    expectNear(section.margin("left"), twips(*record.leftMargin), "left margin");
    expectNear(section.margin("right"), twips(*record.rightMargin), "right margin");
    expectNear(section.margin("header"), twips(*record.headerDistance), "header distance");
    expectNear(section.margin("footer"), twips(*record.footerDistance), "footer distance");
    if (alignment) {
      EXPECT_EQ(section.verticalAlignment(), record.verticalAlignment == 1 ? "center" : "bottom");
    }
  }

  static TempDir* state_;
  static DocumentEngine* engine_;
  static int32_t odt_;
  std::unique_ptr<TempDir> dir_;
};

TempDir* EnginePageSetupTest::state_ = nullptr;
DocumentEngine* EnginePageSetupTest::engine_ = nullptr;
int32_t EnginePageSetupTest::odt_ = -1;

TEST_F(EnginePageSetupTest, EachSectionTakesTheRecordOfItsOrientationAndKeepsIt) {
  ASSERT_GE(odt_, 0);
  auto document = openRtf("mixed.rtf", threeSectionsRtf(true));
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionCount(), 3);
  EXPECT_EQ(document->sectionPaperSize(1), kLetter);
  EXPECT_EQ(document->sectionPaperSize(2), kLetter);
  // As a formatting run does it: page numbers first, then the record of the orientation.
  for (int32_t i = 1; i <= 3; ++i) {
    document->addCentredPageNumbers(i, true);
    document->applyPageSetup(
        i, document->sectionOrientation(i) == 0 ? portraitRecord() : landscapeRecord());
  }
  EXPECT_EQ(document->sectionCount(), 3);
  EXPECT_EQ(document->sectionPaperSize(1), kA4);
  EXPECT_EQ(document->sectionPaperSize(2), kLetter);
  EXPECT_EQ(document->sectionOrientation(2), 1);
  const Docx docx = saveAndClose(std::move(document), "mixed", true);

  ASSERT_EQ(docx.sections().size(), 3u);
  const int a4Width = 11906, a4Height = 16838;
  expectRecord(docx.sections()[0], portraitRecord(), a4Width, a4Height);
  expectRecord(docx.sections()[1], landscapeRecord(), 15840, 12240);
  expectRecord(docx.sections()[2], portraitRecord(), a4Width, a4Height);
  for (const auto& section : docx.sections()) {
    EXPECT_EQ(pageFields(docx.footer(section, "default")), 1) << section.xml;
    EXPECT_NE(docx.entry("word/header1.xml").find("Report header"), std::string::npos);
  }

  // The office's own format holds the same pages: opened again and written as .docx, it gives
  // the same sections.
  for (const std::string saved : {"mixed.docx", "mixed.odt"}) {
    SCOPED_TRACE(saved);
    auto again = open(file(saved));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->sectionCount(), 3);
    EXPECT_EQ(again->sectionOrientation(1), 0);
    EXPECT_EQ(again->sectionOrientation(2), 1);
    EXPECT_EQ(again->sectionOrientation(3), 0);
    EXPECT_EQ(again->sectionPaperSize(1), kA4);
    EXPECT_EQ(again->sectionPaperSize(2), kLetter);
    EXPECT_EQ(again->sectionPaperSize(3), kA4);
    const bool fromDocx = saved == "mixed.docx";
    const Docx resaved = saveAndClose(std::move(again), "resaved-" + saved);
    ASSERT_EQ(resaved.sections().size(), 3u);
    expectRecord(resaved.sections()[0], portraitRecord(), a4Width, a4Height, fromDocx);
    expectRecord(resaved.sections()[1], landscapeRecord(), 15840, 12240, fromDocx);
    expectRecord(resaved.sections()[2], portraitRecord(), a4Width, a4Height, fromDocx);
  }
}

TEST_F(EnginePageSetupTest, OrientationAndPaperSizeTurnThePageAndCustomSizesAreKept) {
  auto document = openRtf("sizes.rtf",
                          "{\\rtf1\\ansi\\paperw11906\\paperh16838"
                          "\\sectd\\pgwsxn11906\\pghsxn16838 A4 portrait.\\par"
                          "\\sect\\sectd\\pgwsxn10000\\pghsxn7000 Custom, wider than high.\\par}");
  ASSERT_TRUE(document);
  EXPECT_EQ(document->sectionPaperSize(1), kA4);
  EXPECT_EQ(document->sectionPaperSize(2), kCustom);
  EXPECT_EQ(document->sectionOrientation(2), 1);

  PageSetupValues landscape;
  landscape.orientation = 1;
  document->applyPageSetup(0, landscape);  // the whole document
  EXPECT_EQ(document->sectionOrientation(1), 1);
  EXPECT_EQ(document->sectionPaperSize(1), kA4);  // A4 still, turned

  PageSetupValues legal;  // a listed size on a landscape page lies across
  legal.paperSize = 4;
  document->applyPageSetup(1, legal);
  PageSetupValues custom;
  custom.paperSize = kCustom;
  custom.pageWidth = 300;
  custom.pageHeight = 400;
  custom.orientation = 0;
  document->applyPageSetup(2, custom);
  EXPECT_EQ(document->sectionPaperSize(1), 4);
  EXPECT_EQ(document->sectionPaperSize(2), kCustom);
  EXPECT_EQ(document->sectionOrientation(2), 0);
  const Docx docx = saveAndClose(std::move(document), "sizes");

  ASSERT_EQ(docx.sections().size(), 2u);
  expectNear(docx.sections()[0].sizeOf("w"), 20160, "legal across");
  expectNear(docx.sections()[0].sizeOf("h"), 12240, "legal down");
  EXPECT_TRUE(docx.sections()[0].landscape());
  expectNear(docx.sections()[1].sizeOf("w"), 6000, "custom width");
  expectNear(docx.sections()[1].sizeOf("h"), 8000, "custom height");
  EXPECT_FALSE(docx.sections()[1].landscape());
}

TEST_F(EnginePageSetupTest, ValuesThePageCannotTakeFailByNameAndChangeNothing) {
  auto document = openRtf("refuse.rtf",
                          "{\\rtf1\\ansi\\paperw12240\\paperh15840\\margl1800\\margt1440\\margb1440"
                          "\\sectd\\pgwsxn12240\\pghsxn15840 Letter.\\par}");
  ASSERT_TRUE(document);
  auto failure = [&](const PageSetupValues& values) {
    try {
      document->applyPageSetup(1, values);
    } catch (const EngineError& e) {
      EXPECT_EQ(e.kind(), EngineError::Kind::Failed);
      return std::string(e.what());
    }
    return std::string("no failure");
  };
  PageSetupValues tooTall;
  tooTall.topMargin = 900;
  tooTall.leftMargin = 10;
  EXPECT_EQ(failure(tooTall),
            "Top margin 900 pt and bottom margin 72 pt leave less than 1 cm for the text on a "
            "page 792 pt high");
  PageSetupValues negative;
  negative.pageWidth = -5;
  EXPECT_EQ(failure(negative), "Page width -5 pt is negative");
  PageSetupValues wide;
  wide.leftMargin = 300;
  wide.rightMargin = 300;
  EXPECT_EQ(failure(wide),
            "Left margin 300 pt and right margin 300 pt leave less than 1 cm for the text on a "
            "page 612 pt wide");
  PageSetupValues unknownPaper;
  unknownPaper.paperSize = 42;
  EXPECT_EQ(failure(unknownPaper), "Paper size 42 is no paper size code (0 to 41)");
  EXPECT_EQ(document->sectionCount(), 1);  // the document is still usable

  // A distance for a header or footer the page does not have leaves the body in place.
  PageSetupValues distances;
  distances.headerDistance = 10;
  distances.footerDistance = 12;
  document->applyPageSetup(1, distances);
  const Docx docx = saveAndClose(std::move(document), "refuse");
  ASSERT_EQ(docx.sections().size(), 1u);
  EXPECT_EQ(docx.sections()[0].margin("top"), 1440);
  EXPECT_EQ(docx.sections()[0].margin("bottom"), 1440);
  EXPECT_EQ(docx.sections()[0].margin("left"), 1800);  // untouched by the refused values
}

TEST_F(EnginePageSetupTest, PageNumbersKeepTheBodyAndAnExistingFooter) {
  auto document = openRtf(
      "footers.rtf",
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\paperw12240\\paperh15840"
      "\\margt1440\\margb1440"
      "\\sectd\\pgwsxn12240\\pghsxn15840 No footer yet.\\par"
      "\\sect\\sectd\\pgwsxn12240\\pghsxn15840\\footery500{\\footer\\pard Confidential\\par}"
      " A footer of its own.\\par}");
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionCount(), 2);
  document->addCentredPageNumbers(1, false);
  document->addCentredPageNumbers(2, false);
  document->addCentredPageNumbers(2, false);  // asked twice, numbered once
  const Docx docx = saveAndClose(std::move(document), "footers");

  ASSERT_EQ(docx.sections().size(), 2u);
  const DocxSection& fresh = docx.sections()[0];
  EXPECT_EQ(fresh.margin("bottom"), 1440);
  EXPECT_EQ(fresh.margin("footer"), 720);  // Word's half inch
  const std::string first = docx.footer(fresh, "default");
  EXPECT_EQ(pageFields(first), 1);
  EXPECT_NE(first.find("<w:jc w:val=\"center\"/>"), std::string::npos) << first;

  const DocxSection& kept = docx.sections()[1];
  expectNear(kept.margin("bottom"), 1440, "bottom margin");
  expectNear(kept.margin("footer"), 500, "footer distance");
  const std::string second = docx.footer(kept, "default");
  EXPECT_EQ(pageFields(second), 1);
  EXPECT_LT(second.find("Confidential"), second.find(" PAGE ")) << second;
}

TEST_F(EnginePageSetupTest, APageStyleSharedBySectionsIsNumberedOnce) {
  // Two page breaks that start the same page style again: three sections, one page style.
  const std::string fodt =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.text\">"
      "<office:automatic-styles><style:style style:name=\"P1\" style:family=\"paragraph\" "
      "style:master-page-name=\"Standard\"/></office:automatic-styles>"
      "<office:master-styles><style:master-page style:name=\"Standard\"/></office:master-styles>"
      "<office:body><office:text><text:p>First part.</text:p>"
      "<text:p text:style-name=\"P1\">Second part.</text:p>"
      "<text:p text:style-name=\"P1\">Third part.</text:p></office:text></office:body>"
      "</office:document>";
  testing::writeFile(file("shared.fodt"), fodt);
  auto document = open(file("shared.fodt"));
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionCount(), 3);
  for (int32_t i = 1; i <= 3; ++i) {
    document->addCentredPageNumbers(i, true);
  }
  const Docx docx = saveAndClose(std::move(document), "shared");
  ASSERT_FALSE(docx.sections().empty());
  EXPECT_EQ(pageFields(docx.footer(docx.sections().back(), "default")), 1);
}

// A first page with a footer of its own, as Word writes it.
const char* kTitlePageRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\\paperw12240\\paperh15840"
    "\\sectd\\titlepg\\pgwsxn12240\\pghsxn15840{\\footerf\\pard Title footer\\par}"
    "{\\footer\\pard Body footer\\par} Title page.\\page Second page.\\par}";

TEST_F(EnginePageSetupTest, TheFirstPageGetsANumberOnlyWhenAskedAndKeepsItsOwnFooter) {
  for (const bool firstPage : {true, false}) {
    SCOPED_TRACE(firstPage);
    auto document = openRtf("title.rtf", kTitlePageRtf);
    ASSERT_TRUE(document);
    document->addCentredPageNumbers(1, firstPage);
    const Docx docx = saveAndClose(std::move(document), firstPage ? "title-on" : "title-off");
    ASSERT_EQ(docx.sections().size(), 1u);
    const DocxSection& section = docx.sections()[0];
    EXPECT_TRUE(section.titlePage());
    const std::string first = docx.footer(section, "first");
    EXPECT_NE(first.find("Title footer"), std::string::npos);
    EXPECT_EQ(pageFields(first), firstPage ? 1 : 0);
    const std::string other = docx.footer(section, "default");
    EXPECT_NE(other.find("Body footer"), std::string::npos);
    EXPECT_EQ(pageFields(other), 1);
  }
}

TEST_F(EnginePageSetupTest, DocumentWideValuesReachEverySectionAndItsFooters) {
  // Without headers or footers the office cannot hold the header and footer layout yet; the
  // footers that the page numbers bring must get it.
  auto document = openRtf("wide.rtf", threeSectionsRtf(false));
  ASSERT_TRUE(document);
  PageSetupValues whole;
  whole.oddAndEvenPagesHeaderFooter = true;
  whole.differentFirstPageHeaderFooter = true;
  whole.mirrorMargins = true;
  whole.gutter = 18;
  whole.gutterOnTop = true;
  whole.twoPagesOnOne = true;  // the office has no such printing; nothing changes
  document->applyPageSetup(0, whole);
  for (int32_t i = 1; i <= 3; ++i) {
    document->addCentredPageNumbers(i, true);
  }
  const Docx docx = saveAndClose(std::move(document), "wide");

  const std::string settings = docx.settings();
  EXPECT_NE(settings.find("<w:mirrorMargins/>"), std::string::npos);
  EXPECT_NE(settings.find("<w:gutterAtTop/>"), std::string::npos);
  EXPECT_NE(settings.find("<w:evenAndOddHeaders/>"), std::string::npos);
  ASSERT_EQ(docx.sections().size(), 3u);
  for (const auto& section : docx.sections()) {
    expectNear(section.margin("gutter"), 360, "gutter");
    expectNear(section.margin("top"), 1440, "top margin");
    EXPECT_TRUE(section.titlePage());
    for (const char* type : {"default", "even", "first"}) {
      EXPECT_EQ(pageFields(docx.footer(section, type)), 1) << type << section.xml;
    }
  }
}

TEST_F(EnginePageSetupTest, NoDifferentFirstPageGivesTheFirstPageTheOtherPagesFooter) {
  auto document = openRtf("notitle.rtf", kTitlePageRtf);
  ASSERT_TRUE(document);
  PageSetupValues values;
  values.differentFirstPageHeaderFooter = false;
  document->applyPageSetup(0, values);
  EXPECT_EQ(document->sectionCount(), 1);
  document->addCentredPageNumbers(1, true);
  const Docx docx = saveAndClose(std::move(document), "notitle");
  ASSERT_EQ(docx.sections().size(), 1u);
  EXPECT_FALSE(docx.sections()[0].titlePage());
  const std::string footer = docx.footer(docx.sections()[0], "default");
  EXPECT_NE(footer.find("Body footer"), std::string::npos);
  EXPECT_EQ(pageFields(footer), 1);
}

}  // namespace
}  // namespace kelvara::word
