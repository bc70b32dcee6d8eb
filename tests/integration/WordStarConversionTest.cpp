// WordStar files through the real office: the "WordStar" input entry, Auto, and kelvara-wsconv
// as the external converter. What the outputs hold must read as WordStar shows the text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "EngineTestSupport.h"
#include "TestOffice.h"
#include "support/Subprocess.h"
#include "support/ZipEntry.h"
#include "word/WordsCountFile.h"
#include "word/lo/FilterMap.h"

namespace kelvara::word {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr int32_t kAuto = 0;
constexpr int32_t kDocx = 16;
constexpr int32_t kText = 2;
constexpr int32_t kWordStar = lo::kWordStarCode;

// The WordStar files of the shared corpus (NOTES.tsv), each with a sentence of its text as
// WordStar prints it.
struct CorpusFile {
  const char* path;
  const char* sentence;
};
const CorpusFile kCorpus[] = {
    {"wshtml/wordstar/BOLD.WS", "WordStar can format bold text."},
    {"wshtml/wordstar/UNDERLN.WS", "WordStar can underline text."},
    {"wshtml/wordstar/WORDSTAR.WS", "There's no formatting here, just a few lines of text."},
    {"wshtml/wordstar/SAMPLE.WS",
     "WordStar was very popular in the 1980s because it was so easy to use."},
    {"wshtml/wordstar/CENTER.WS", "This line is centered"},
    {"wshtml/wordstar/NEST.WS", "You can underline and bold by nesting the commands."},
    {"RomWBW/Source/Apps/ZMD/zmd.ws", "ZMD File Transfer Program for the Z80 RCP/M"},
    {"RomWBW/Source/Images/d_wp/u0/SAMPLE1.DOC",
     "Transfer services, sightseeing, meals except as specified, tips to station porters,"},
    {"RomWBW/Source/Images/d_wp/u0/DIARY.DOC", "What a wonderful city London is!"},
    {"RomWBW/Source/Images/d_wp/u0/SAMPLE2.DOC", "Florence-Rome:  Leave at 8:30 am by deluxe"},
    {"RomWBW/Source/Images/d_wp/u0/CHAPTER3.DOC", "This is chapter 3."},
    {"RomWBW/Source/Images/d_wp/u0/TEXT.DOC", "A Voyage to Lilliput"},
    {"RomWBW/Source/Images/d_wp/u0/TABLE.DOC", "CENTRIFUGAL FORCE CALIBRATION DATA"},
    {"RomWBW/Source/Images/d_wp/u0/CHAPTER2.DOC", "This is chapter 2."},
    {"RomWBW/Source/Images/d_wp/u0/SAMPLE3.DOC", "Depart at 8:00 am by CIAT deluxe motorcoach"},
    {"RomWBW/Source/Images/d_wp/u0/RULER.DOC", "New margins change the ruler and text."},
    {"RomWBW/Source/Images/d_wp/u0/CHAPTER1.DOC", "This is chapter 1."},
};

// What a person would not see in WordStar: a byte outside printable ASCII, other than the line
// ends and tabs of the text output (the corpus's WordStar files hold ASCII only).
std::string strayCharacter(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80 || (c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7F) {
      return "byte " + std::to_string(c) + " at " + std::to_string(i) + " near \"" +
             text.substr(i > 20 ? i - 20 : 0, 40) + "\"";
    }
  }
  return {};
}

// A WordStar 5-7 file: the header, text with a code page 437 letter, bold, a sequence whose
// bytes look like text and line ends, and a soft return.
std::string extendedFile() {
  std::string file("\x1d\x7d\x00", 3);
  file += std::string(124, '\0');
  file += '\x1d';
  file += "Caf\x82 \x02";
  file += "bold\x02 text ";
  file += std::string("\x1d\x08\x00\x11Hi\r\n\x1a!\x1d", 11);
  file += "and \x8d\nmore.\r\n\x1a";
  return file;
}

class WordStarConversionTest : public testing::OfficeSuite<WordStarConversionTest> {
 protected:
  static void SetUpTestSuite() { startOffice("wordstar"); }

  void SetUp() override { out_ = std::make_unique<TempDir>("wordstar-out"); }

  std::string output(const std::string& name) const { return out_->file(name); }

  struct Converted {
    bool opened = false;
    std::string error;
    DocumentStatistics stats;
    std::string text;  // the text output
  };

  // Opens, counts, saves as text (and as DOCX when a name is given), closes.
  Converted convert(const std::string& input, int32_t format, const std::string& stem,
                    bool docx = false) {
    Converted result;
    engine_->beginDocument(false);
    auto document = engine_->open(OpenRequest{input, format, false, false});
    if (!document) {
      result.error = engine_->lastErrorText();
      engine_->endDocument();
      return result;
    }
    result.opened = true;
    result.stats = document->computeStatistics();
    document->saveAs(SaveRequest{output(stem + ".txt"), kText, TextSaveOptions{0, false, false}});
    if (docx) {
      document->saveAs(SaveRequest{output(stem + ".docx"), kDocx, std::nullopt});
    }
    document->close();
    engine_->endDocument();
    result.text = testing::readFile(output(stem + ".txt"));
    return result;
  }

  std::vector<std::string> outputNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(out_->path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::unique_ptr<TempDir> out_;
};


TEST_F(WordStarConversionTest, TheInputListEndsWithTheWordStarEntry) {
  const auto converters = engine_->fileConverters();
  ASSERT_FALSE(converters.empty());
  const FileConverter& last = converters.back();
  EXPECT_EQ(last.formatName, "WordStar");
  EXPECT_EQ(last.extensions, "ws ws3 ws4 ws5 ws6 ws7 wsd");
  EXPECT_TRUE(last.canOpen);
  EXPECT_FALSE(last.canSave);
  EXPECT_EQ(last.openFormat, kWordStar);
  EXPECT_NE(engine_->cannotSaveReason(kWordStar), "");
}

TEST_F(WordStarConversionTest, CorpusFilesReadAsWordStarShowsThem) {
  CORPUS_OR_SKIP("wshtml");
  CORPUS_OR_SKIP("RomWBW");
  int index = 0;
  for (const CorpusFile& file : kCorpus) {
    const std::string input = testing::corpus(file.path);
    SCOPED_TRACE(input);
    const std::string stem = "ws" + std::to_string(index++);
    const Converted entry = convert(input, kWordStar, stem, true);
    ASSERT_TRUE(entry.opened) << entry.error;
    EXPECT_NE(entry.text.find(file.sentence), std::string::npos) << entry.text;
    EXPECT_EQ(strayCharacter(entry.text), "");
    EXPECT_EQ(testing::readFile(output(stem + ".docx")).substr(0, 2), "PK");

    // kelvara-wc counts the input as the office counts what it opened.
    const FileCount counted = countFile(input);
    ASSERT_TRUE(counted.counts) << counted.error;
    EXPECT_EQ(counted.counts->words, entry.stats.words);
    EXPECT_NEAR(counted.counts->characters, entry.stats.characters, 2);
    EXPECT_NEAR(counted.counts->lines, entry.stats.lines, entry.stats.lines / 10 + 1);

    // With Auto the office would take it for text; it reaches the reader all the same.
    const Converted automatic = convert(input, kAuto, stem + "-auto");
    ASSERT_TRUE(automatic.opened) << automatic.error;
    EXPECT_EQ(automatic.text, entry.text);
  }
}

TEST_F(WordStarConversionTest, FormattingHeadersAndPageBreaksReachTheWordDocument) {
  CORPUS_OR_SKIP("wshtml");
  CORPUS_OR_SKIP("RomWBW");
  ASSERT_TRUE(convert(testing::corpus("wshtml/wordstar/NEST.WS"), kWordStar, "nest", true).opened);
  const auto body = kelvara::testing::ReadZipEntry(output("nest.docx"), "word/document.xml");
  ASSERT_TRUE(body);
  EXPECT_NE(body->find("<w:b/>"), std::string::npos);
  EXPECT_NE(body->find("<w:u w:val=\"single\"/>"), std::string::npos);
  EXPECT_NE(body->find("<w:rFonts w:ascii=\"Courier New\""), std::string::npos);

  ASSERT_TRUE(
      convert(testing::corpus("RomWBW/Source/Apps/ZMD/zmd.ws"), kWordStar, "zmd", true).opened);
  const auto zmd = kelvara::testing::ReadZipEntry(output("zmd.docx"), "word/document.xml");
  ASSERT_TRUE(zmd);
  EXPECT_NE(zmd->find("w:type=\"page\""), std::string::npos);
  std::string headers;
  for (int i = 1; i <= 6; ++i) {
    headers += kelvara::testing::ReadZipEntry(output("zmd.docx"),
                                              "word/header" + std::to_string(i) + ".xml")
                   .value_or("");
  }
  EXPECT_NE(headers.find("ZMD Reference Manual - Version 1.50"), std::string::npos);
  EXPECT_NE(headers.find("PAGE"), std::string::npos);
}

TEST_F(WordStarConversionTest, CorpusFilesThroughKelvaraWsconvAsTheExternalConverter) {
  CORPUS_OR_SKIP("wshtml");
  CORPUS_OR_SKIP("RomWBW");
  TempDir logs("wordstar-logs");
  int index = 0;
  for (const CorpusFile& file : kCorpus) {
    const std::string input = testing::corpus(file.path);
    SCOPED_TRACE(input);
    const std::string stem = "ext" + std::to_string(index++);
    const fs::path folder = out_->path() / ("converter " + stem);
    fs::create_directories(folder);
    // The default command line, as the run builds it from ProgCmdLine1..3.
    const std::string parameters = "sfrm=WS7 in=" + input + " " +
                                   " dfrm=MSWW7 out=" + folder.string() + "/" + "TEMPWPXX" +
                                   "TEMPWPXX";
    const auto result =
        kelvara::testing::RunProgram({KELVARA_WSCONV_EXE, parameters}, {}, logs.str());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The run moves the one TEMPWPXX.* file to the output name and opens it with Auto.
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(folder)) {
      written.push_back(entry.path().filename().string());
    }
    ASSERT_EQ(written, std::vector<std::string>{"TEMPWPXX.rtf"});
    const std::string moved = (folder / (stem + ".doc")).string();
    fs::rename(folder / "TEMPWPXX.rtf", moved);
    const Converted external = convert(moved, kAuto, stem);
    ASSERT_TRUE(external.opened) << external.error;
    EXPECT_NE(external.text.find(file.sentence), std::string::npos) << external.text;
    EXPECT_EQ(strayCharacter(external.text), "");
    EXPECT_EQ(external.text, convert(input, kWordStar, stem + "-entry").text);
  }
}

TEST_F(WordStarConversionTest, ANewerFileReadsThroughTheEntryAndThroughAuto) {
  const std::string input = output("NEWER.WS7");
  testing::writeFile(input, extendedFile());
  for (int32_t format : {kWordStar, kAuto}) {
    SCOPED_TRACE(format);
    const Converted converted = convert(input, format, "newer" + std::to_string(format), true);
    ASSERT_TRUE(converted.opened) << converted.error;
    EXPECT_EQ(converted.text, "Caf\xc3\xa9 bold text and more.\r\n");
    EXPECT_EQ(converted.stats.words, 5);
  }
}

TEST_F(WordStarConversionTest, PlainTextOpenedWithAutoStaysText) {
  const std::string input = output("notes.txt");
  testing::writeFile(input, "Le caf\xe9 \xe9tait pr\xeat.\r\nSecond line, same text.\r\n");
  const Converted converted = convert(input, kAuto, "notes-out");
  ASSERT_TRUE(converted.opened) << converted.error;
  EXPECT_EQ(converted.text,
            "Le caf\xc3\xa9 \xc3\xa9tait pr\xc3\xaat.\r\nSecond line, same text.\r\n");
}

TEST_F(WordStarConversionTest, WhatIsNoWordStarFileIsRefusedWithItsReasonAndLeavesNothing) {
  testing::TestOffice maker(state_->str());
  const std::string doc = output("REPORT.DOC");
  maker.write(doc, "MS Word 97", testing::MadeDocument{{"A real Word document."}, "", ""});
  const std::string empty = output("EMPTY.WS");
  testing::writeFile(empty, "");
  std::string cut = extendedFile();
  cut.resize(150);  // inside the sequence after the text, which starts at byte 145
  const std::string truncated = output("CUT.WS");
  testing::writeFile(truncated, cut);
  const std::string damaged = output("DAMAGED.WS");
  std::string broken = extendedFile();
  broken[broken.find("Hi") + 6] = 'x';  // the sequence's closing 0x1D
  testing::writeFile(damaged, broken);
  const std::vector<std::string> inputs = {"CUT.WS", "DAMAGED.WS", "EMPTY.WS", "REPORT.DOC"};

  struct Case {
    std::string path;
    std::string reason;
  };
  for (const Case& c : std::vector<Case>{
           {doc,
            "Not a WordStar file: it is a compound (OLE) file, such as a Word 97-2003 "
            "document"},
           {empty, "The file is empty"},
           {truncated,
            "the file is truncated: the 0x1D sequence at byte 145 (0x91) needs 6 more bytes"},
           {damaged, "the file is damaged: the 0x1D sequence at byte 145 (0x91) does not end"}}) {
    SCOPED_TRACE(c.path);
    const Converted refused = convert(c.path, kWordStar, "refused");
    EXPECT_FALSE(refused.opened);
    EXPECT_NE(refused.error.find(c.reason), std::string::npos) << refused.error;
  }
  // Nothing was written, the inputs are as they were, and the office goes on.
  EXPECT_EQ(outputNames(), inputs);
  EXPECT_EQ(testing::readFile(truncated), cut);
  const std::string good = output("GOOD.WS");
  testing::writeFile(good, "Thi\xf3 i\xf3 fine\xae\r\n");
  EXPECT_EQ(convert(good, kWordStar, "good").text, "This is fine.\r\n");
  // The real Word document still opens with Auto as what it is.
  EXPECT_NE(convert(doc, kAuto, "report").text.find("A real Word document."), std::string::npos);
}

}  // namespace
}  // namespace kelvara::word
