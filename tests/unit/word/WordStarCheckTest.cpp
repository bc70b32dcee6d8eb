#include "word/WordStarCheck.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace kelvara::word {
namespace {

using testing::readFile;
using testing::ScratchDir;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    out.push_back(static_cast<char>(v));
  }
  return out;
}

class WordStarCheckTest : public ::testing::Test {
 protected:
  // Checks a file of these bytes; the warnings log's lines are in warnings.
  int32_t check(const std::string& content) {
    path = tmp.file("in/letter.ws", content);
    log = PendingLog{};
    const int32_t issues = CheckWordStarFile(path, names, log);
    warnings.clear();
    for (const PendingLog::Line& line : log.lines()) {
      EXPECT_EQ(line.target, PendingLog::Target::Warnings);
      warnings.push_back(line.text);
    }
    EXPECT_EQ(readFile(path), content);  // never changed
    return issues;
  }

  ScratchDir tmp;
  WordStarCheckNames names{"/in/", "/out/", "letter.ws", "letter.doc"};
  std::string path;
  PendingLog log;
  std::vector<std::string> warnings;
};

TEST_F(WordStarCheckTest, AWellFramedSequenceIsGood) {
  EXPECT_EQ(check(bytes({0x1D, 0x03, 0x00, 0x41, 0x42, 0x1D})), 0);
  EXPECT_EQ(check("text " + bytes({0x1D, 0x03, 0x00, 0x41, 0x42, 0x1D}) + " more text"), 0);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(WordStarCheckTest, AClosingMarkBeforeItsPlaceIsReportedWithPositionsAndDump) {
  EXPECT_EQ(check("AB" + bytes({0x1D, 0x03, 0x00, 0x41, 0x1D, 0x42}) + "C"), 1);
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          std::string(68, '_'), "Input Path: /in/ - Output Path: /out/",
                          "Conversion letter.ws -> letter.doc",
                          "Warning input file with error at position: 0002 - 0008 dec 2 - 8",
                          path + " 0008: 1D0300411D42", ""}));
}

TEST_F(WordStarCheckTest, EscapeBeforeMarkAndFileSeparatorIsText) {
  // Read as a sequence, 1D 1C would claim 28 body bytes with a mark at index 2.
  const std::string framed = bytes({0x1D, 0x1C, 0x00, 0x41, 0x1D}) + std::string(30, 'x');
  EXPECT_EQ(check(bytes({0x1B}) + framed), 0);
  EXPECT_EQ(check(framed), 1);
  // The escape is spent on the first pair.
  EXPECT_EQ(check(bytes({0x1B, 0x1D, 0x1C}) + framed), 1);
}

TEST_F(WordStarCheckTest, ANegativeLengthReadsNoBodyAndLooksElevenBytesOnForAMark) {
  EXPECT_EQ(check(bytes({0x1D, 0x80, 0x1D, 0x41, 0x42})), 1);
  EXPECT_EQ(check(bytes({0x1D, 0xFF, 0x00}) + std::string(10, 'x') + bytes({0x1D, 0x41})), 1);
  EXPECT_EQ(warnings[3], "Warning input file with error at position: 0000 - 000E dec 0 - 14");
  EXPECT_EQ(check(bytes({0x1D, 0xFF, 0x00}) + std::string(11, 'x') + bytes({0x1D, 0x41})), 0);
}

TEST_F(WordStarCheckTest, ANullLengthIsReportedButCountsOnlyWhenTheSequenceIsBad) {
  EXPECT_EQ(check(bytes({0x41, 0x1D, 0x00, 0x00, 0x41, 0x42})), 0);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Error: null counter byte: " + path + " at 3"}));
  EXPECT_EQ(check(bytes({0x1D, 0x00, 0x00, 0x1D, 0x42})), 1);
  EXPECT_EQ(warnings.front(), "Error: null counter byte: " + path + " at 2");
}

TEST_F(WordStarCheckTest, EndsOfFileAndTheEndOfTextMark) {
  EXPECT_EQ(check(bytes({0x41, 0x1D, 0x03})), 0);              // ends after the length byte
  EXPECT_EQ(check(bytes({0x41, 0x1D, 0x03, 0x00})), 0);        // ends after the byte after it
  EXPECT_EQ(check(bytes({0x41, 0x1D})), 0);                    // the last byte starts nothing
  EXPECT_EQ(check(bytes({0x1D, 0x03, 0x00, 0x1D, 0x41})), 1);  // a body cut short
  EXPECT_EQ(check(bytes({0x1D, 0x03, 0x00, 0x41, 0x1D, 0x1A, 0x00})), 0);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(check(""), 0);
}

TEST_F(WordStarCheckTest, TheDumpShowsTheFirst128Bytes) {
  std::string body(127, 'x');
  body[0] = 0x1D;
  EXPECT_EQ(check(bytes({0x1D, 0x7F, 0x00}) + body + "tail"), 1);
  const std::string& dump = warnings[4];
  const std::string prefix = path + " 0082: ";
  ASSERT_EQ(dump.substr(0, prefix.size()), prefix);
  EXPECT_EQ(dump.size(), prefix.size() + 256);
  EXPECT_EQ(dump.substr(prefix.size(), 8), "1D7F001D");
}

TEST_F(WordStarCheckTest, AMissingFileAndAFailedScan) {
  PendingLog missing;
  EXPECT_EQ(CheckWordStarFile(tmp / "none.ws", names, missing), 0);
  ASSERT_EQ(missing.lines().size(), 1u);
  EXPECT_EQ(missing.lines()[0].target, PendingLog::Target::Main);
  EXPECT_EQ(missing.lines()[0].text, "ERROR -- File not found:  " + tmp / "none.ws");

  // A folder opens but cannot be read.
  PendingLog failed;
  const std::string folder = tmp.dir("folder.ws");
  EXPECT_EQ(CheckWordStarFile(folder, names, failed), 1);
  using Target = PendingLog::Target;
  std::vector<std::pair<Target, std::string>> lines;
  for (const PendingLog::Line& line : failed.lines()) {
    lines.emplace_back(line.target, line.text);
  }
  const std::string reason = "Is a directory";
  EXPECT_EQ(lines, (std::vector<std::pair<Target, std::string>>{
                       {Target::Error, "PreProcessing error on file " + folder},
                       {Target::Main, "PreProcessing error on file " + folder},
                       {Target::Error, reason},
                       {Target::Main, reason},
                       {Target::Progress, reason},
                       {Target::StateHint, reason}}));
}

}  // namespace
}  // namespace kelvara::word
