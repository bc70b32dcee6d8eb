// Documents through the real office: opening, counting, saving, refusing.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "EngineTestSupport.h"
#include "SourceText.h"
#include "TestOffice.h"

namespace kelvara::word {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr int32_t kDocx = 16;
constexpr int32_t kPdf = 17;
constexpr int32_t kText = 2;

const char* kTwoParagraphRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
    "\\pard Hello world.\\par Second paragraph here.\\par}";

class EngineConversionTest : public testing::OfficeSuite<EngineConversionTest> {
 protected:
  static void SetUpTestSuite() { startOffice("conversion"); }

  void SetUp() override { out_ = std::make_unique<TempDir>("conversion-out"); }

  // Opens under the engine's document protocol; null when refused.
  std::unique_ptr<Document> open(const std::string& path, int32_t format = 0) {
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{path, format, false, false});
    return document;
  }

  std::string output(const std::string& name) const { return out_->file(name); }

  // Nothing but the expected files in the output folder: no staging folders left behind.
  void expectOnlyOutputs(const std::vector<std::string>& names) const {
    std::vector<std::string> seen;
    for (const auto& entry : fs::directory_iterator(out_->path())) {
      seen.push_back(entry.path().filename().string());
    }
    std::sort(seen.begin(), seen.end());
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen, expected);
  }

  std::unique_ptr<TempDir> out_;
};


TEST_F(EngineConversionTest, ConvertsAnRtfItWrote) {
  const std::string input = output("letter.rtf");
  testing::writeFile(input, kTwoParagraphRtf);
  auto document = open(input);
  ASSERT_TRUE(document) << engine_->lastErrorText();
  EXPECT_EQ(document->name(), "letter.rtf");
  EXPECT_EQ(document->path(), out_->str());

  const DocumentStatistics stats = document->computeStatistics();
  EXPECT_EQ(stats.pages, 1);
  EXPECT_EQ(stats.paragraphs, 2);
  EXPECT_EQ(stats.lines, 2);
  EXPECT_EQ(stats.words, 5);
  EXPECT_EQ(stats.charactersWithSpaces, 34);
  EXPECT_EQ(stats.characters, 31);
  EXPECT_EQ(document->revisionCount(), 0);
  EXPECT_EQ(document->spellingErrorCount().count, 0);

  document->saveAs(SaveRequest{output("letter.docx"), kDocx, std::nullopt});
  document->saveAs(SaveRequest{output("letter.pdf"), kPdf, std::nullopt});
  document->saveAs(SaveRequest{output("letter.txt"), kText, TextSaveOptions{0, false, false}});
  document->saveAs(SaveRequest{output("letter-cr.txt"), kText, TextSaveOptions{1, false, false}});
  // Saving leaves the counts as they were.
  const DocumentStatistics after = document->computeStatistics();
  EXPECT_EQ(after.words, stats.words);
  EXPECT_EQ(after.lines, stats.lines);
  document->close();
  engine_->endDocument();

  EXPECT_EQ(testing::readFile(output("letter.docx")).substr(0, 2), "PK");
  EXPECT_EQ(testing::readFile(output("letter.pdf")).substr(0, 5), "%PDF-");
  EXPECT_EQ(testing::readFile(output("letter.txt")), "Hello world.\r\nSecond paragraph here.\r\n");
  EXPECT_EQ(testing::readFile(output("letter-cr.txt")), "Hello world.\rSecond paragraph here.\r");
  expectOnlyOutputs({"letter.rtf", "letter.docx", "letter.pdf", "letter.txt", "letter-cr.txt"});
}

TEST_F(EngineConversionTest, HandlesNamesWithBlanksAndUmlauts) {
  const std::string input = output(
      "Gr\xc3\xb6\xc3\x9f"
      "e & Ma\xc3\x9f #1.rtf");
  testing::writeFile(input, kTwoParagraphRtf);
  auto document = open(input);
  ASSERT_TRUE(document) << engine_->lastErrorText();
  EXPECT_EQ(document->name(),
            "Gr\xc3\xb6\xc3\x9f"
            "e & Ma\xc3\x9f #1.rtf");
  const std::string target = output(
      "\xc3\x9c"
      "bersicht 100%.pdf");
  document->saveAs(SaveRequest{target, kPdf, {}});
  document->close();
  engine_->endDocument();
  EXPECT_EQ(testing::readFile(target).substr(0, 5), "%PDF-");
}

TEST_F(EngineConversionTest, LaysOutAWebPageInPages) {
  const std::string input = output("page.html");
  std::string body;
  for (int i = 0; i < 120; ++i) {
    body += "<p>Paragraph number " + std::to_string(i) + " of a long page.</p>\n";
  }
  testing::writeFile(input, "<html><head><title>T</title></head><body>" + body + "</body></html>");
  for (int32_t format : {0, 7}) {
    auto document = open(input, format);
    ASSERT_TRUE(document) << format << ": " << engine_->lastErrorText();
    const DocumentStatistics stats = document->computeStatistics();
    EXPECT_GE(stats.pages, 2) << format;
    EXPECT_EQ(stats.paragraphs, 120) << format;
    EXPECT_GE(stats.lines, 120) << format;
    document->saveAs(SaveRequest{output("page" + std::to_string(format) + ".docx"), kDocx, {}});
    document->close();
    engine_->endDocument();
  }
  // The formatted HTML output goes back out as a page of its own.
  auto document = open(input, 7);
  ASSERT_TRUE(document);
  document->saveAs(SaveRequest{output("copy.htm"), 8, {}});
  document->close();
  engine_->endDocument();
  EXPECT_NE(testing::readFile(output("copy.htm")).find("Paragraph number 119"), std::string::npos);
}

// Real third-party files of each family; MadeDocumentsTest covers every family (AbiWord and
// OpenOffice 1.0 too) with files the tests make.
TEST_F(EngineConversionTest, ConvertsAFileOfEachInputFormat) {
  CORPUS_OR_SKIP();
  const std::vector<std::string> inputs = {
      testing::corpus("poi/test-data/document/simple-table.doc"),
      testing::corpus("poi/test-data/document/Word95.doc"),
      testing::corpus("poi/test-data/document/sample.docx"),
      testing::corpus("poi/test-data/document/SimpleMacro.docm"),
      testing::corpus("poi/test-data/document/test.dotx"),
      testing::corpus("pandoc/test/rtf/formatting.rtf"),
      testing::corpus("pandoc/test/odt/odt/table.odt"),
      testing::corpus("libwpd/tests/SANYIG01.C3P"),
      testing::corpus("poi/test-data/poifs/ShortLastBlock.wps"),
      testing::corpus("poi/test-data/document/MSWriteOld.wri"),
      testing::corpus("pandoc/test/command/A.txt"),
      testing::corpus("poi/test-data/hmef/quick-contents/quick.html"),
      testing::corpus("RomWBW/Source/Images/d_wp/u0/SAMPLE1.DOC")};
  int index = 0;
  for (const auto& input : inputs) {
    SCOPED_TRACE(input);
    const auto started = std::chrono::steady_clock::now();
    auto document = open(input);
    ASSERT_TRUE(document) << engine_->lastErrorText();
    const DocumentStatistics stats = document->computeStatistics();
    EXPECT_GE(stats.pages, 1);
    EXPECT_GT(stats.charactersWithSpaces, 0);
    const std::string stem = "out" + std::to_string(index++);
    document->saveAs(SaveRequest{output(stem + ".pdf"), kPdf, {}});
    document->saveAs(SaveRequest{output(stem + ".docx"), kDocx, {}});
    document->close();
    engine_->endDocument();
    EXPECT_EQ(testing::readFile(output(stem + ".pdf")).substr(0, 5), "%PDF-");
    EXPECT_EQ(testing::readFile(output(stem + ".docx")).substr(0, 2), "PK");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
  }
  EXPECT_EQ(engine_->openDocumentCount(), 0);
}

// Each file that other projects call broken either fails with a clear reason or converts
// with the text it really holds, one after the other in one engine, none hanging it.
TEST_F(EngineConversionTest, EveryBrokenFileFailsClearlyOrConvertsItsRealContent) {
  CORPUS_OR_SKIP("_broken");
  std::vector<fs::path> broken;
  for (const auto& entry : fs::recursive_directory_iterator(testing::corpus("_broken"))) {
    if (entry.is_regular_file()) {
      broken.push_back(entry.path());
    }
  }
  std::sort(broken.begin(), broken.end());
  ASSERT_GE(broken.size(), 30u);
  testing::TestOffice office(state_->str());
  int refused = 0;
  int converted = 0;
  for (const auto& path : broken) {
    SCOPED_TRACE(path.string());
    const auto before = testing::readFile(path.string());
    std::unique_ptr<Document> document;
    try {
      document = open(path.string());
    } catch (const EngineError& e) {
      // An office that crashes on a file is lost; the next document gets a new one.
      EXPECT_EQ(e.kind(), EngineError::Kind::Lost) << e.what();
      engine_->endDocument();
      continue;
    }
    if (!document) {
      ++refused;
      const std::string error = engine_->lastErrorText();
      EXPECT_EQ(error.rfind("[Error:", 0), 0u) << error;
      for (const char* unclear : {"Unknown error", "::", "0x"}) {
        EXPECT_EQ(error.find(unclear), std::string::npos) << error;
      }
    } else {
      ++converted;
      const std::string text = output("broken.txt");
      document->saveAs(SaveRequest{text, kText, TextSaveOptions{}});
      document->close();
      EXPECT_EQ(testing::contentProblem(testing::sourceTextOf(office, path.string()),
                                        testing::readFile(text)),
                "");
    }
    engine_->endDocument();
    EXPECT_EQ(testing::readFile(path.string()), before) << "an input was changed";
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(converted, 0);
  // The engine is still fit for work.
  const std::string input = output("after.rtf");
  testing::writeFile(input, kTwoParagraphRtf);
  auto document = open(input);
  ASSERT_TRUE(document);
  document->close();
  engine_->endDocument();
}

TEST_F(EngineConversionTest, ExplainsWhyAFileWasRefused) {
  EXPECT_FALSE(open(output("missing.doc")));
  EXPECT_EQ(engine_->lastErrorText(), "[Error:770] File not found");
  engine_->endDocument();

  const std::string random = output("noise.doc");
  std::string noise;
  for (int i = 0; i < 4096; ++i) {
    noise += static_cast<char>((i * 7919 + 13) % 256);
  }
  testing::writeFile(random, noise);
  EXPECT_FALSE(open(random));
  EXPECT_NE(engine_->lastErrorText().find("File format not recognised"), std::string::npos)
      << engine_->lastErrorText();
  engine_->endDocument();

  // Text behind a word processor's extension is text, asked for or found.
  const std::string textAsDoc = output("readme.doc");
  testing::writeFile(textAsDoc, "This is only a text file.\r\n");
  for (int32_t format : {0, 4}) {
    auto document = open(textAsDoc, format);
    ASSERT_TRUE(document) << engine_->lastErrorText();
    EXPECT_EQ(document->computeStatistics().words, 6);
    document->close();
    engine_->endDocument();
  }
}

TEST_F(EngineConversionTest, SavesOnlyIntoExistingFoldersAndNeverHalfWritten) {
  const std::string input = output("letter.rtf");
  testing::writeFile(input, kTwoParagraphRtf);
  auto document = open(input);
  ASSERT_TRUE(document);
  const std::string missing = output("no/such/folder/letter.docx");
  try {
    document->saveAs(SaveRequest{missing, kDocx, {}});
    FAIL() << "saved into a missing folder";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.kind(), EngineError::Kind::Failed);
    EXPECT_NE(std::string(e.what()).find("does not exist"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(fs::exists(output("no")));
  try {
    document->saveAs(SaveRequest{output("letter.xps"), 18, {}});
    FAIL() << "saved XPS";
  } catch (const EngineError& e) {
    EXPECT_EQ(std::string(e.what()), "LibreOffice cannot write the output format XPS Document");
  }
  // An existing output is replaced only by a complete new one.
  testing::writeFile(output("letter.docx"), "old");
  document->saveAs(SaveRequest{output("letter.docx"), kDocx, {}});
  EXPECT_EQ(testing::readFile(output("letter.docx")).substr(0, 2), "PK");
  document->close();
  engine_->endDocument();
  expectOnlyOutputs({"letter.rtf", "letter.docx"});
}

TEST_F(EngineConversionTest, TellsWhichFormatsItCannotWrite) {
  EXPECT_EQ(engine_->cannotSaveReason(18),
            "LibreOffice cannot write the output format XPS Document");
  EXPECT_EQ(engine_->cannotSaveReason(19),
            "LibreOffice cannot write the output format Word Flat XML Document");
  EXPECT_NE(engine_->cannotSaveReason(15), "");
  EXPECT_NE(engine_->cannotSaveReason(4711), "");
  for (int32_t code : {0, 1, 2, 6, 8, 9, 10, 11, 12, 13, 14, 16, 17}) {
    EXPECT_EQ(engine_->cannotSaveReason(code), "") << code;
  }
  EXPECT_EQ(engine_->version(), "12.0");
  EXPECT_EQ(engine_->productName().rfind("LibreOffice ", 0), 0u);
}

TEST_F(EngineConversionTest, OffersInstalledFiltersAsConverters) {
  const auto converters = engine_->fileConverters();
  ASSERT_FALSE(converters.empty());
  // The office's filters in the order of their names; our own WordStar reader comes after them,
  // so that it moved no stored position.
  EXPECT_EQ(converters.back().formatName, "WordStar");
  EXPECT_TRUE(std::is_sorted(
      converters.begin(), converters.end() - 1,
      [](const FileConverter& a, const FileConverter& b) { return a.formatName < b.formatName; }));
  std::set<int32_t> codes;
  const FileConverter* wordPerfect = nullptr;
  const FileConverter* odt = nullptr;
  for (const auto& c : converters) {
    EXPECT_GE(c.openFormat, 1000) << c.formatName;
    EXPECT_TRUE(c.canOpen || c.canSave) << c.formatName;
    EXPECT_TRUE(codes.insert(c.openFormat).second) << c.formatName;
    EXPECT_EQ(c.formatName.find("Word 97"), std::string::npos) << "fixed format offered again";
    if (c.formatName == "WordPerfect Document") {
      wordPerfect = &c;
    }
    if (c.formatName == "ODF Text Document") {
      odt = &c;
    }
  }
  ASSERT_TRUE(wordPerfect);
  ASSERT_TRUE(odt);
  EXPECT_EQ(wordPerfect->extensions, "wpd");
  EXPECT_TRUE(wordPerfect->canOpen);
  EXPECT_TRUE(odt->canSave);

  const std::string wpd = output("memo.wpd");
  testing::writeFile(wpd, testing::wordPerfect5File(
                              {"A memo written with WordPerfect 5.1 to everyone in the office.",
                               "It has two paragraphs of plain text and nothing else at all."}));
  auto document = open(wpd, wordPerfect->openFormat);
  ASSERT_TRUE(document) << engine_->lastErrorText();
  EXPECT_EQ(engine_->cannotSaveReason(odt->saveFormat), "");
  EXPECT_NE(engine_->cannotSaveReason(wordPerfect->saveFormat), "");
  document->saveAs(SaveRequest{output("wp.odt"), odt->saveFormat, {}});
  document->close();
  engine_->endDocument();
  EXPECT_NE(testing::readFile(output("wp.odt")).find("application/vnd.oasis.opendocument.text"),
            std::string::npos);
}

TEST_F(EngineConversionTest, CountsSectionsByPageStyleAndTheirOrientation) {
  const std::string input = output("sections.rtf");
  testing::writeFile(input,
                     "{\\rtf1\\ansi\\paperw12240\\paperh15840"
                     "\\sectd\\pgwsxn12240\\pghsxn15840 Portrait part.\\par"
                     "\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240 Landscape part.\\par"
                     "\\sect\\sectd\\pgwsxn12240\\pghsxn15840 Portrait again.\\par}");
  auto document = open(input);
  ASSERT_TRUE(document);
  ASSERT_EQ(document->sectionCount(), 3);
  EXPECT_EQ(document->sectionOrientation(1), 0);
  EXPECT_EQ(document->sectionOrientation(2), 1);
  EXPECT_EQ(document->sectionOrientation(3), 0);
  EXPECT_EQ(document->sectionText(2), U"Landscape part.\r");
  EXPECT_THROW(document->sectionOrientation(4), EngineError);
  document->close();
  engine_->endDocument();
}

TEST_F(EngineConversionTest, RecountsOpenDocumentTextWithoutLeavingATrace) {
  CORPUS_OR_SKIP();
  // The file's own statistics lack the count without blanks; the office's recount has it.
  auto document = open(testing::corpus("pandoc/test/odt/odt/trackedChanges.odt"));
  ASSERT_TRUE(document) << engine_->lastErrorText();
  EXPECT_EQ(document->revisionCount(), 2);
  const DocumentStatistics stats = document->computeStatistics();
  EXPECT_EQ(stats.charactersWithSpaces, 34);
  EXPECT_EQ(stats.characters, 28);
  EXPECT_EQ(document->revisionCount(), 2);
  document->saveAs(SaveRequest{output("tracked.txt"), kText, TextSaveOptions{}});
  document->close();
  engine_->endDocument();
  const std::string text = testing::readFile(output("tracked.txt"));
  ASSERT_GE(text.size(), 3u);
  EXPECT_NE(text[text.size() - 3], ' ') << text;
}

TEST_F(EngineConversionTest, ReportsRevisionsAndSwitchesTracking) {
  CORPUS_OR_SKIP();
  auto document = open(testing::corpus("poi/test-data/document/bug56075-changeTracking_on.docx"));
  ASSERT_TRUE(document) << engine_->lastErrorText();
  EXPECT_GE(document->revisionCount(), 0);
  document->setTrackRevisions(false);
  document->setShowRevisions(true);
  document->setPrintRevisions(true);
  document->setRemovePersonalInformation(true);
  document->saveAs(SaveRequest{output("tracked.docx"), kDocx, {}});
  document->close();
  engine_->endDocument();

  auto marked = open(testing::corpus("poi/test-data/document/MarkAuthorsTable.doc"));
  ASSERT_TRUE(marked);
  EXPECT_GT(marked->revisionCount(), 0);
  marked->close();
  engine_->endDocument();
}

TEST_F(EngineConversionTest, ClosedDocumentsLeaveTheOfficeEmpty) {
  const std::string input = output("letter.rtf");
  testing::writeFile(input, kTwoParagraphRtf);
  auto first = open(input);
  ASSERT_TRUE(first);
  engine_->endDocument();
  auto second = open(input);
  ASSERT_TRUE(second);
  EXPECT_EQ(engine_->openDocumentCount(), 2);
  second->close();
  EXPECT_EQ(engine_->openDocumentCount(), 1);
  engine_->closeAllDocuments();
  EXPECT_EQ(engine_->openDocumentCount(), 0);
  EXPECT_THROW(second->computeStatistics(), EngineError);
  first.reset();  // closing a document the office already closed is harmless
  engine_->endDocument();
}

}  // namespace
}  // namespace kelvara::word
