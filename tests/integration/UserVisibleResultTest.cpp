// What an operator reads after kelvara-batch has converted a few documents with the real office:
// the exact lines of the four logs, the index page and the summary, with settings of 0 that mean
// "no limit" and a second run over the same folders. The documents are written here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "support/TextSearch.h"

namespace kelvara {
namespace {

using testing::count;

namespace fs = std::filesystem;
using testing::readFile;
using testing::ScratchDir;

const std::string kTime = R"(\d\d:\d\d:\d\d)";
// The C locale's short date, with the four-digit year the program always writes.
const std::string kDate = R"(\d\d/\d\d/\d{4})";
const std::string kUnderscores(68, '_');
const std::string kDashes = " " + std::string(58, '-');

// A line that must read exactly so.
std::string lit(const std::string& text) {
  static const std::regex special(R"([.^$|()\[\]{}*+?\\])");
  return std::regex_replace(text, special, R"(\$&)");
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) {
    lines.push_back(text.substr(start) + "<no line end>");
  }
  return lines;
}

// Every line of the file against its pattern, in order; the first difference is reported.
void expectLines(const std::string& file, const std::vector<std::string>& patterns) {
  const std::vector<std::string> lines = linesOf(readFile(file));
  for (size_t i = 0; i < std::max(lines.size(), patterns.size()); ++i) {
    const std::string line = i < lines.size() ? lines[i] : "<missing>";
    const std::string pattern = i < patterns.size() ? patterns[i] : "<no more lines>";
    ASSERT_TRUE(std::regex_match(line, std::regex(pattern)))
        << file << " line " << i + 1 << ":\n  is:       \"" << line << "\"\n  expected: /"
        << pattern << "/";
  }
}

std::vector<std::string> header(const std::string& title, bool appended) {
  std::vector<std::string> lines{""};
  if (appended) {
    std::string separator;
    for (int i = 0; i < 34; ++i) {
      separator += ":..";
    }
    lines.push_back(lit(separator));
    lines.push_back("");
  }
  lines.push_back("");
  lines.push_back(lit(title) + " Log started on day: " + kDate + " at " + kTime);
  lines.push_back(kUnderscores);
  lines.push_back("");
  return lines;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class UserVisibleResultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp / "config");
    fs::create_directories(tmp / "state");
    fs::create_directories(tmp / "proc");
    // A time limit of 0 and a restart count of 0: no limit and no restart, not a fault.
    std::ofstream(tmp / "config/Kelva.ini") << "[Options]\r\nDocTimeout=0\r\nEngineRecycle=0\r\n"
                                            << "[Conversion Options]\r\nAddVersNum=1\r\n";
    // Two inputs that differ only in their extension, both different from the output's.
    tmp.file("in/letter.rtf", "{\\rtf1\\ansi \\pard One small letter.\\par}");
    tmp.file("in/letter.txt", "Plain text notes\nsecond line\n");
    tmp.file("in/sub/memo.rtf", "{\\rtf1\\ansi \\pard A memo.\\par}");
  }

  testing::ProcessResult batch() {
    return testing::RunProgram({KELVARA_BATCH_EXE, "/i:", in, "/o:", out, "/if:", "0", "/of:", "6"},
                               {{"KELVARA_CONFIG_DIR", tmp / "config"},
                                {"XDG_STATE_HOME", tmp / "state"},
                                {"XDG_RUNTIME_DIR", tmp / "state"},
                                {"LC_ALL", "C.UTF-8"}},
                               tmp / "proc");
  }

  // The main log's lines for one converted document.
  std::vector<std::string> converted(const std::string& inDir, const std::string& outDir,
                                     const std::string& docName, const std::string& outName,
                                     const std::string& statistics) const {
    return {lit("Input Path: " + inDir + " - Output Path: " + outDir),
            lit(" Conversion " + docName + " -> " + outName),
            // One portrait section, re-formatted with the default values.
            lit("   Conversion Sect. 1 Portr. "), lit("              ") + statistics,
            lit("   0 Changes - 0 Spelling Err."),
            // The metadata of the default options: the input's dates and security, then the
            // ownership taken.
            lit("File Creation and LastWrite Date changed to original file's dates"),
            lit("File Security data Copied"), lit("Successfully changed DACL"),
            lit("File Ownership taken"), " Result OK - at: " + kTime, ""};
  }

  void expectPdf(const std::string& name) const {
    ASSERT_TRUE(fs::exists(out + name)) << name;
    EXPECT_EQ(readFile(out + name).substr(0, 5), "%PDF-") << name;
  }

  ScratchDir tmp;
  const std::string in = tmp / "in/";
  const std::string out = tmp / "out/";
  // The counts are the office's, which take in the page number that re-formatting puts in
  // the footer: one paragraph, one word, one character more than the body holds.
  const std::string letterStatistics =
      R"(1 Pages - 2 Paragraphs - \d+ Lines - 4 words - 18 Characters&Spaces - 16 Characters)";
  const std::string notesStatistics =
      R"(1 Pages - 3 Paragraphs - \d+ Lines - 6 words - 28 Characters&Spaces - 25 Characters)";
  const std::string memoStatistics =
      R"(1 Pages - 2 Paragraphs - \d+ Lines - 3 words - 8 Characters&Spaces - 7 Characters)";
};

TEST_F(UserVisibleResultTest, OneRunShowsEachDocumentInTheLogsTheIndexAndTheSummary) {
  tmp.file("in/broken.docx", std::string("PK\x03\x04", 4) + "not a package");
  const auto result = batch();
  EXPECT_EQ(result.exitCode, 1) << result.err;

  // What the console says.
  EXPECT_NE(result.out.find("Files analized: 4  converted: 3  in error: 1  skipped: 0  "
                            "with warnings: 0  folders: 2\n"),
            std::string::npos)
      << result.out;
  EXPECT_EQ(count(result.err, "Kelva.ini"), 0u) << result.err;  // no setting refused
  EXPECT_EQ(count(result.err, "Opening LibreOffice..."), 1u) << result.err;
  EXPECT_NE(result.err.find("\nConverted letter.txt -> letter(1).pdf: OK\n"), std::string::npos)
      << result.err;

  const std::string error = R"( Result ERROR - Can't open file )" + lit(in + "broken.docx") +
                            R"(\. Error: .+ at:)" + kTime;
  expectLines(
      out + "Log/ConvLog.txt",
      header("Conversion", false) +
          std::vector<std::string>{lit("Input Path: " + in + " - Output Path: " + out),
                                   lit(" Conversion broken.docx -> broken.pdf"),
                                   R"(   Conversion Can't open file .+)", kDashes, error, ""} +
          converted(in, out, "letter.rtf", "letter.pdf", letterStatistics) +
          std::vector<std::string>{lit("Output file renamed. New name: letter(1).pdf")} +
          converted(in, out, "letter.txt", "letter(1).pdf", notesStatistics) +
          std::vector<std::string>{
              lit("Folder " + out + "sub/ created"),
              lit("Folder Creation and LastWrite Date changed to original folder' dates"),
              lit("Folder Security data Copied"), lit("Successfully changed DACL"),
              lit("Folder Ownership taken"), "", ""} +
          converted(in + "sub/", out + "sub/", "memo.rtf", "memo.pdf", memoStatistics) +
          std::vector<std::string>{
              kUnderscores, "", "End of conversion", "",
              lit(" Files analized: 4 Files converted: 3 Files skipped: 0 Files in "
                  "error: 1")});
  expectLines(out + "Log/ErrorLog.txt",
              header("Error", false) +
                  std::vector<std::string>{"Error on conversion", R"(Can't open file .+)",
                                           lit("Input Path: " + in + " - Output Path: " + out),
                                           lit("Conversion broken.docx -> broken.pdf"), kDashes,
                                           error, "", kUnderscores, "", "End of conversion",
                                           "Total number of files in error: 1"});
  expectLines(out + "Log/WarnsLog.txt",
              header("Warning", false) +
                  std::vector<std::string>{kUnderscores, "", "End of conversion",
                                           lit("Total number of files with warning(s): 0")});
  expectLines(
      out + "Log/SkipsLog.txt",
      header("Skip", false) + std::vector<std::string>{kUnderscores, "", "End of conversion",
                                                       "Total number of skipped files: 0"});

  EXPECT_EQ(readFile(out + "Log/Index.html"),
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n"
            "<head>\r\n<TITLE>Index</TITLE>\r\n</head>\r\n<body bgcolor=\"#cccccc\">\r\n\r\n"
            "<ul><li><a href=\"" +
                out + "\">" + out +
                "</a>\r\n<ul>\r\n"
                "<li><a href=\"" +
                in +
                "broken.docx\">broken.docx</a> -> broken.pdf</li>\r\n"
                "<li><a href=\"" +
                in + "letter.rtf\">letter.rtf</a> -> <a href=\"" + out +
                "letter.pdf\">letter.pdf</a></li>\r\n"
                "<li><a href=\"" +
                in + "letter.txt\">letter.txt</a> -> <a href=\"" + out +
                "letter(1).pdf\">letter(1).pdf</a></li>\r\n</ul>\r\n"
                "<ul><li><a href=\"" +
                out + "sub/\">" + out +
                "sub/</a>\r\n<ul>\r\n"
                "<li><a href=\"" +
                in + "sub/memo.rtf\">memo.rtf</a> -> <a href=\"" + out +
                "sub/memo.pdf\">memo.pdf</a></li>\r\n</ul></li></ul>\r\n</li></ul>\r\n"
                "</body></html>\r\n");

  expectPdf("letter.pdf");
  expectPdf("letter(1).pdf");
  expectPdf("sub/memo.pdf");
  EXPECT_FALSE(fs::exists(out + "broken.pdf"));
  EXPECT_TRUE(testing::ProcessesWithCommandLine(tmp / "state/kelvara").empty())
      << "the office outlived the run";
}

// Nothing of the first run is counted, indexed or reused by the second, except what it left on
// disk: its outputs (which the second run numbers past) and the logs it appends to.
TEST_F(UserVisibleResultTest, ASecondRunAppendsToTheLogsNumbersItsOutputsAndReplacesTheIndex) {
  const auto first = batch();
  ASSERT_EQ(first.exitCode, 0) << first.err;
  const std::string firstLog = readFile(out + "Log/ConvLog.txt");

  const auto second = batch();
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("Files analized: 3  converted: 3  in error: 0  skipped: 0  "
                            "with warnings: 0  folders: 2\n"),
            std::string::npos)
      << second.out;

  const std::string log = readFile(out + "Log/ConvLog.txt");
  ASSERT_EQ(log.substr(0, firstLog.size()), firstLog);
  const std::string secondLog = tmp / "proc/second-run-log.txt";
  std::ofstream(secondLog, std::ios::binary) << log.substr(firstLog.size());
  expectLines(secondLog,
              header("Conversion", true) +
                  std::vector<std::string>{lit("Output file renamed. New name: letter(2).pdf")} +
                  converted(in, out, "letter.rtf", "letter(2).pdf", letterStatistics) +
                  std::vector<std::string>{lit("Output file renamed. New name: letter(3).pdf")} +
                  converted(in, out, "letter.txt", "letter(3).pdf", notesStatistics) +
                  std::vector<std::string>{lit("Output file renamed. New name: memo(1).pdf")} +
                  converted(in + "sub/", out + "sub/", "memo.rtf", "memo(1).pdf", memoStatistics) +
                  std::vector<std::string>{
                      kUnderscores, "", "End of conversion", "",
                      lit(" Files analized: 3 Files converted: 3 Files skipped: 0 Files in "
                          "error: 0")});
  EXPECT_EQ(count(readFile(out + "Log/SkipsLog.txt"), "Total number of skipped files: 0"), 2u);

  const std::string index = readFile(out + "Log/Index.html");
  EXPECT_EQ(count(index, "<!DOCTYPE"), 1u);
  EXPECT_EQ(count(index, "<li><a href="), 5u) << index;  // two folders, three documents
  EXPECT_NE(index.find("<a href=\"" + out + "letter(3).pdf\">letter(3).pdf</a>"),
            std::string::npos);
  EXPECT_EQ(index.find("letter.pdf"), std::string::npos) << "the first run's entries stayed";

  for (const char* name : {"letter.pdf", "letter(1).pdf", "letter(2).pdf", "letter(3).pdf",
                           "sub/memo.pdf", "sub/memo(1).pdf"}) {
    expectPdf(name);
  }
}

}  // namespace
}  // namespace kelvara
