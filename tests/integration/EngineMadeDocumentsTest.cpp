// The engine on documents the tests make themselves, so that every path through it runs in a
// clone without the shared corpus: each input family, encrypted and truncated files, text
// behind a word processor's extension, packages that break the packaging rules.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "EngineTestSupport.h"
#include "TestOffice.h"

namespace kelvara::word {
namespace {

using testing::MadeDocument;
using testing::TempDir;

constexpr int32_t kText = 2;

// Three paragraphs, 22 words: enough text that no reader takes the file for a stub.
const std::vector<std::string> kParagraphs = {
    "Quarterly report of the Kelvara archive.", "Seventeen letters were filed in March.",
    "The index lists every letter by sender, date and subject."};

std::string join(const std::vector<std::string>& parts, const std::string& separator) {
  std::string out;
  for (const auto& part : parts) {
    out += (out.empty() ? "" : separator) + part;
  }
  return out;
}

class MadeDocumentsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    state_ = new TempDir("made-state");
    office_ = new testing::TestOffice(state_->str());
    LibreOfficeOptions options = testing::testOptions(*state_, "made");
    options.docTimeoutSeconds = 120;
    engine_ = makeLibreOfficeEngine(options).release();
    engine_->connect();
  }
  static void TearDownTestSuite() {
    delete engine_;
    engine_ = nullptr;
    delete office_;
    office_ = nullptr;
    delete state_;
    state_ = nullptr;
  }

  void SetUp() override { dir_ = std::make_unique<TempDir>("made"); }

  std::string file(const std::string& name) const { return dir_->file(name); }

  // A document of the two paragraphs, written by the tests' office.
  std::string made(const std::string& name, const std::string& filter,
                   const std::string& password = "") {
    const std::string path = file(name);
    office_->write(path, filter, MadeDocument{kParagraphs, "", password});
    return path;
  }

  // Opens under the engine's document protocol; null when refused (the reason is then in
  // lastError()).
  std::unique_ptr<Document> open(const std::string& path, int32_t format = 0) {
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{path, format, false, false});
    if (!document) {
      engine_->endDocument();
    }
    return document;
  }

  std::string lastError() const { return engine_->lastErrorText(); }

  // The document's text as the engine saves it, and the document closed.
  std::string textOf(std::unique_ptr<Document> document) {
    const std::string out = file("out-" + std::to_string(++saved_) + ".txt");
    document->saveAs(SaveRequest{out, kText, TextSaveOptions{}});
    document->close();
    engine_->endDocument();
    return testing::readFile(out);
  }

  static bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  static TempDir* state_;
  static testing::TestOffice* office_;
  static DocumentEngine* engine_;
  std::unique_ptr<TempDir> dir_;
  int saved_ = 0;
};

TempDir* MadeDocumentsTest::state_ = nullptr;
testing::TestOffice* MadeDocumentsTest::office_ = nullptr;
DocumentEngine* MadeDocumentsTest::engine_ = nullptr;

TEST_F(MadeDocumentsTest, ConvertsADocumentOfEachFamilyWithItsText) {
  std::vector<std::string> inputs = {
      made("made.doc", "MS Word 97"),
      made("made.dot", "MS Word 97 Vorlage"),
      made("made.docx", "MS Word 2007 XML"),
      made("made.dotx", "MS Word 2007 XML Template"),
      made("made.docm", "MS Word 2007 XML VBA"),
      made("strict.docx", "Office Open XML Text"),
      made("made.rtf", "Rich Text Format"),
      made("made.odt", "writer8"),
      made("made.ott", "writer8_template"),
      made("made.fodt", "OpenDocument Text Flat XML"),
      made("made.xml", "MS Word 2003 XML"),
      made("made.html", "HTML (StarWriter)"),
      made("made.txt", "Text (encoded)"),
  };
  inputs.push_back(file("made.wpd"));
  testing::writeFile(inputs.back(), testing::wordPerfect5File(kParagraphs));
  inputs.push_back(file("made.wri"));
  testing::writeFile(inputs.back(), testing::windowsWriteFile(kParagraphs));
  inputs.push_back(file("made.abw"));
  testing::writeFile(inputs.back(),
                     "<?xml version=\"1.0\"?><abiword template=\"false\"><section><p>" +
                         join(kParagraphs, "</p><p>") + "</p></section></abiword>");
  inputs.push_back(file("made.sxw"));
  testing::writeFile(
      inputs.back(),
      testing::storedZip(
          {{"mimetype", "application/vnd.sun.xml.writer"},
           {"content.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
            "xmlns:office=\"http://openoffice.org/2000/office\" "
            "xmlns:text=\"http://openoffice.org/2000/text\" office:class=\"text\" "
            "office:version=\"1.0\"><office:body><text:p>" +
                join(kParagraphs, "</text:p><text:p>") +
                "</text:p></office:body></office:document-content>"},
           {"META-INF/manifest.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
            "xmlns:manifest=\"http://openoffice.org/2001/manifest\"><manifest:file-entry "
            "manifest:media-type=\"application/vnd.sun.xml.writer\" manifest:full-path=\"/\"/>"
            "<manifest:file-entry manifest:media-type=\"text/xml\" "
            "manifest:full-path=\"content.xml\"/></manifest:manifest>"}}));

  for (const auto& input : inputs) {
    SCOPED_TRACE(input);
    auto document = open(input);
    ASSERT_TRUE(document) << lastError();
    EXPECT_TRUE(document->loadWarnings().empty());
    const DocumentStatistics stats = document->computeStatistics();
    EXPECT_EQ(stats.pages, 1);
    EXPECT_EQ(stats.words, 22);
    const std::string text = textOf(std::move(document));
    EXPECT_TRUE(contains(text, join(kParagraphs, "\r\n"))) << ::testing::PrintToString(text);
  }
  EXPECT_EQ(engine_->openDocumentCount(), 0);
}

TEST_F(MadeDocumentsTest, EncryptedDocumentsFailAtOnceSayingSo) {
  for (const auto& [name, filter] : std::vector<std::pair<std::string, std::string>>{
           {"secret.doc", "MS Word 97"}, {"secret.odt", "writer8"}}) {
    SCOPED_TRACE(name);
    const std::string path = made(name, filter, "kept-from-you");
    const auto before = testing::readFile(path);
    EXPECT_FALSE(open(path));
    EXPECT_EQ(lastError().rfind("[Error:", 0), 0u) << lastError();
    EXPECT_TRUE(contains(lastError(), "] Wrong password / encrypted document")) << lastError();
    EXPECT_EQ(testing::readFile(path), before);
  }
  // The engine goes on with the next document.
  auto document = open(made("open.doc", "MS Word 97"));
  ASSERT_TRUE(document) << lastError();
  EXPECT_EQ(document->computeStatistics().words, 22);
  document->close();
  engine_->endDocument();
}

TEST_F(MadeDocumentsTest, TruncatedAndDamagedFilesFailWithAClearError) {
  const std::string docx = testing::readFile(made("whole.docx", "MS Word 2007 XML"));
  const std::string doc = testing::readFile(made("whole.doc", "MS Word 97"));
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"half.docx", docx.substr(0, docx.size() / 2)},
      {"head.docx", docx.substr(0, 100)},
      {"half.doc", doc.substr(0, doc.size() / 2)},
      {"stub.doc", doc.substr(0, 6)},
      {"open.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard Cut off in the midd"},
  };
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    testing::writeFile(file(name), bytes);
    auto document = open(file(name));
    if (document) {
      // A reader may recover what precedes the cut; then the text must be the file's own.
      const std::string text = textOf(std::move(document));
      EXPECT_TRUE(contains(text, kParagraphs[0]) || contains(text, "Cut off in the midd"))
          << ::testing::PrintToString(text);
      continue;
    }
    EXPECT_EQ(lastError().rfind("[Error:", 0), 0u) << lastError();
    EXPECT_FALSE(contains(lastError(), "Unknown error")) << lastError();
  }
  // What no reader can make sense of says so.
  EXPECT_FALSE(open(file("head.docx")));
  EXPECT_TRUE(contains(lastError(), "File is corrupt")) << lastError();
}

TEST_F(MadeDocumentsTest, PlainTextBehindAWordProcessingExtensionConvertsAsText) {
  const std::vector<std::tuple<std::string, std::string, std::string>> files = {
      {"README.DOC", "MEMO TO ALL STAFF\r\n\r\nThe office closes at five.\r\n",
       "MEMO TO ALL STAFF\r\n\r\nThe office closes at five.\r\n"},
      {"BRIEF.DOC",
       "Gr\x81\xe1"
       "e aus M\x81nchen.\r\nZ\x84hne und K\x94nige.\r\n",
       "Gr\xc3\xbc\xc3\x9f"
       "e aus M\xc3\xbc"
       "nchen.\r\nZ\xc3\xa4hne und K\xc3\xb6nige.\r\n"},
      {"letter.wri", "Caf\xe9 cr\xe8me, na\xefve r\xe9sum\xe9.\nSecond line.\n",
       "Caf\xc3\xa9 cr\xc3\xa8me, na\xc3\xafve r\xc3\xa9sum\xc3\xa9.\r\nSecond line.\r\n"},
      {"notes.rtf", "Not RTF at all, only notes.\r\n", "Not RTF at all, only notes.\r\n"},
  };
  for (const auto& [name, bytes, expected] : files) {
    SCOPED_TRACE(name);
    testing::writeFile(file(name), bytes);
    auto document = open(file(name));
    ASSERT_TRUE(document) << lastError();
    EXPECT_TRUE(document->loadWarnings().empty());
    EXPECT_EQ(textOf(std::move(document)), expected);
  }

  // Chosen as "Normal text", DOS text reads the same: no carriage return is left in a line.
  testing::writeFile(file("DOS.TXT"),
                     "First line \x81"
                     "ber.\r\nSecond line.\r\n");
  auto normal = open(file("DOS.TXT"), 4);
  ASSERT_TRUE(normal) << lastError();
  EXPECT_EQ(textOf(std::move(normal)),
            "First line \xc3\xbc"
            "ber.\r\nSecond line.\r\n");

  // Bytes that only load because anything loads as text stay refused.
  std::string noise;
  for (int i = 0; i < 4096; ++i) {
    noise += static_cast<char>((i * 7919 + 13) % 256);
  }
  testing::writeFile(file("noise.doc"), noise);
  EXPECT_FALSE(open(file("noise.doc")));
  EXPECT_EQ(lastError(), "[Error:3861] File format not recognised (binary data)");
}

TEST_F(MadeDocumentsTest, RtfWithWordsOnlyInItsTablesIsAnEmptyDocument) {
  for (const std::string& rtf : {
           std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}}{\\f1 Times New Roman;}}"),
           std::string("{\\rtf1{\\fonttbl{\\f0 Arial;}Courier;}{\\stylesheet{\\s0 Normal;}}"
                       "{\\listtable{\\list{\\listname Bullets;}}}}}\\pard\\par}"),
           std::string("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\par}\r\n\x1a\x1a\x1a\x1a"),
       }) {
    SCOPED_TRACE(rtf);
    testing::writeFile(file("tables.rtf"), rtf);
    auto document = open(file("tables.rtf"));
    ASSERT_TRUE(document) << lastError();
    EXPECT_EQ(document->computeStatistics().words, 0);
    document->close();
    engine_->endDocument();
  }
  // Body text the reader skipped is a failure, not an empty document.
  testing::writeFile(file("nested.rtf"),
                     "{\\rtf1\\ansi\n\\trowd\\cellx5000\n\\pard\\intbl\\itap2 Parent before\\par\n"
                     "\\pard\\intbl\\itap5 Child at skipped level\\nestcell\n"
                     "{\\*\\nesttableprops\\trowd\\cellx4000\\nestrow}\n"
                     "\\pard\\intbl\\itap1 Outer cell\\cell\n\\row\n}\n");
  EXPECT_FALSE(open(file("nested.rtf")));
  EXPECT_EQ(lastError(), "[Error:3861] File format error (the text could not be read)");
}

// Core properties as some generators write them, with a fault that the packaging rules forbid.
std::string coreProperties(const std::string& inside) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><cp:coreProperties "
         "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
         "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">" +
         inside + "</cp:coreProperties>";
}

TEST_F(MadeDocumentsTest, PackageFaultsTheOfficePassesOverAreWarningsOfAConvertedDocument) {
  const std::string docx = made("source.docx", "MS Word 2007 XML");
  const std::string rels = *office_->zipEntry(docx, "_rels/.rels");
  const std::string types = *office_->zipEntry(docx, "[Content_Types].xml");
  const std::string kWarning = "Warning - the file breaks a packaging rule that was passed over: ";
  std::string withThumbnail = rels;
  withThumbnail.insert(
      rels.find("</Relationships>"),
      "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/package/"
      "2006/relationships/metadata/thumbnail\" Target=\"docProps/thumbnail.jpeg\"/>");
  std::string untypedCore = types;
  const std::string coreType = "application/vnd.openxmlformats-package.core-properties+xml";
  untypedCore.replace(untypedCore.find(coreType), coreType.size(), "application/xml");

  using Changes = std::vector<std::pair<std::string, std::optional<std::string>>>;
  const std::vector<std::tuple<std::string, Changes, std::vector<std::string>>> cases = {
      {"lang.docx",
       {{"docProps/core.xml", coreProperties("<dc:title xml:lang=\"en-GB\">Report</dc:title>")}},
       {"the core properties carry xml:lang"}},
      {"created.docx",
       {{"docProps/core.xml", coreProperties("<dcterms:created>2007-05-12T08:39:00Z"
                                             "</dcterms:created>")}},
       {"the core properties give dcterms:created without its W3CDTF type"}},
      {"thumbnail.docx",
       {{"_rels/.rels", withThumbnail}},
       {"the part docProps/thumbnail.jpeg named by the package is missing"}},
      {"types.docx",
       {{"[Content_Types].xml", untypedCore}},
       {"the core properties part has the wrong content type"}},
      {"two.docx",
       {{"docProps/core.xml", coreProperties("<dc:title xml:lang=\"en\">T</dc:title>"
                                             "<dcterms:creator>Me</dcterms:creator>")},
        {"docProps/app.xml", std::nullopt}},
       {"the core properties carry xml:lang", "the core properties use dcterms:creator",
        "the part docProps/app.xml named by the package is missing"}},
  };
  for (const auto& [name, changes, faults] : cases) {
    SCOPED_TRACE(name);
    testing::writeFile(file(name), office_->zipWith(docx, changes));
    auto document = open(file(name));
    ASSERT_TRUE(document) << lastError();
    std::vector<std::string> expected;
    for (const auto& fault : faults) {
      expected.push_back(kWarning + fault);
    }
    EXPECT_EQ(document->loadWarnings(), expected);
    EXPECT_EQ(document->computeStatistics().words, 22);
    EXPECT_TRUE(contains(textOf(std::move(document)), join(kParagraphs, "\r\n")));
  }
}

TEST_F(MadeDocumentsTest, PackagesWhoseTextCannotBeReadFail) {
  const std::string docx = made("source.docx", "MS Word 2007 XML");
  const std::string main = *office_->zipEntry(docx, "word/document.xml");

  testing::writeFile(file("nomain.docx"),
                     office_->zipWith(docx, {{"word/document.xml", std::nullopt}}));
  EXPECT_FALSE(open(file("nomain.docx")));
  EXPECT_EQ(lastError().rfind("[Error:", 0), 0u) << lastError();
  EXPECT_FALSE(contains(lastError(), "Unknown error")) << lastError();

  // The body under a name the reader does not know: the text is there, the office reads none.
  std::string renamed = main;
  for (const std::string tag : {"<w:body>", "</w:body>"}) {
    renamed.replace(renamed.find(tag), tag.size(),
                    tag[1] == '/' ? std::string("</w:bodyText>") : std::string("<w:bodyText>"));
  }
  testing::writeFile(file("renamed.docx"),
                     office_->zipWith(docx, {{"word/document.xml", renamed}}));
  EXPECT_FALSE(open(file("renamed.docx")));
  EXPECT_EQ(lastError(), "[Error:3861] File format error (the text could not be read)");

  // Cut inside its first element.
  testing::writeFile(
      file("cut.docx"),
      office_->zipWith(docx, {{"word/document.xml", main.substr(0, main.find("<w:body") / 2)}}));
  EXPECT_FALSE(open(file("cut.docx")));
  EXPECT_EQ(lastError().rfind("[Error:", 0), 0u) << lastError();
}

TEST_F(MadeDocumentsTest, ReportsTrackedChangesAndSwitchesTracking) {
  for (const auto& [name, filter] :
       std::vector<std::pair<std::string, std::string>>{{"tracked.doc", "MS Word 97"},
                                                        {"tracked.docx", "MS Word 2007 XML"},
                                                        {"tracked.odt", "writer8"}}) {
    SCOPED_TRACE(name);
    office_->write(file(name), filter, MadeDocument{kParagraphs, "Added while tracking.", ""});
    auto document = open(file(name));
    ASSERT_TRUE(document) << lastError();
    EXPECT_EQ(document->revisionCount(), 1);
    document->setTrackRevisions(false);
    document->setShowRevisions(true);
    document->setPrintRevisions(true);
    document->setRemovePersonalInformation(true);
    EXPECT_EQ(document->computeStatistics().words, 25);
    EXPECT_EQ(document->revisionCount(), 1);
    EXPECT_TRUE(contains(textOf(std::move(document)), "Added while tracking."));
  }
}

TEST_F(MadeDocumentsTest, RecountsOpenDocumentTextWhoseStoredStatisticsAreIncomplete) {
  const std::string odt = file("stored.odt");
  office_->write(odt, "writer8", MadeDocument{kParagraphs, "Added while tracking.", ""});
  // Statistics as an older writer left them: wrong, and without the count without blanks.
  std::string meta = *office_->zipEntry(odt, "meta.xml");
  const auto start = meta.find("<meta:document-statistic");
  ASSERT_NE(start, std::string::npos) << meta;
  meta.replace(start, meta.find("/>", start) + 2 - start,
               "<meta:document-statistic meta:word-count=\"999\" meta:character-count=\"9999\"/>");
  testing::writeFile(odt, office_->zipWith(odt, {{"meta.xml", meta}}));

  size_t withBlanks = 0;
  size_t withoutBlanks = 0;
  for (const auto& paragraph : std::vector<std::string>{kParagraphs[0], kParagraphs[1],
                                                        kParagraphs[2], "Added while tracking."}) {
    withBlanks += paragraph.size();
    withoutBlanks +=
        paragraph.size() - static_cast<size_t>(std::count(paragraph.begin(), paragraph.end(), ' '));
  }
  auto document = open(odt);
  ASSERT_TRUE(document) << lastError();
  const DocumentStatistics stats = document->computeStatistics();
  EXPECT_EQ(stats.words, 25);
  EXPECT_EQ(stats.charactersWithSpaces, static_cast<int32_t>(withBlanks));
  EXPECT_EQ(stats.characters, static_cast<int32_t>(withoutBlanks));
  // The recount leaves neither a revision nor a character behind.
  EXPECT_EQ(document->revisionCount(), 1);
  EXPECT_TRUE(contains(textOf(std::move(document)), "Added while tracking.\r\n"));
}
}  // namespace
}  // namespace kelvara::word
