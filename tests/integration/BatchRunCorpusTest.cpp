// kelvara-batch as an operator runs it, with the real office, on documents of the shared corpus
// and on documents the tests make.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <thread>

#include "EngineTestSupport.h"
#include "SourceText.h"
#include "TestOffice.h"
#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "support/TextSearch.h"

namespace kelvara {
namespace {

using testing::contains;
using testing::count;

namespace fs = std::filesystem;
using testing::ProcessesWithCommandLine;
using testing::readFile;
using testing::ScratchDir;

const std::string kCorpus = KELVARA_CORPUS_DIR;

// One operator's machine: a Kelva.ini and an office state folder of the test's own.
class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp / "config");
    fs::create_directories(tmp / "state");
    fs::create_directories(tmp / "proc");
    fs::create_directories(tmp / "in");
  }

  std::map<std::string, std::string> env() const {
    return {{"KELVARA_CONFIG_DIR", tmp / "config"},
            {"XDG_STATE_HOME", tmp / "state"},
            {"XDG_RUNTIME_DIR", tmp / "state"}};
  }

  void writeIni(const std::string& text) { std::ofstream(tmp / "config/Kelva.ini") << text; }

  std::vector<std::string> args(std::vector<std::string> rest) const {
    rest.insert(rest.begin(), KELVARA_BATCH_EXE);
    return rest;
  }

  testing::ProcessResult batch(std::vector<std::string> rest) {
    return testing::RunProgram(args(std::move(rest)), env(), tmp / "proc");
  }

  // Copies corpus files (paths relative to the corpus) into in/, keeping their folders.
  std::string copyCorpus(const std::vector<std::string>& files) {
    for (const std::string& f : files) {
      const fs::path target = fs::path(tmp / "in") / f;
      fs::create_directories(target.parent_path());
      fs::copy_file(kCorpus + "/" + f, target, fs::copy_options::overwrite_existing);
    }
    return tmp / "in/";
  }

  std::string officeTag() const { return tmp / "state/kelvara"; }

  ScratchDir tmp;
};

TEST_F(BatchRun, ConvertsEachInputFormatToPdfAndLeavesInputsUntouched) {
  CORPUS_OR_SKIP();
  const std::vector<std::string> files = {
      "poi/test-data/document/simple-list.doc",
      "poi/test-data/document/Word95.doc",
      "poi/test-data/document/TestTableColumns.docx",
      "poi/test-data/document/45690.docm",
      "poi/test-data/document/60316b.dotx",
      "poi/test-data/hmef/quick-contents/message.rtf",
      "poi/test-data/hmef/quick-contents/quick.html",
      "pandoc/test/odt/odt/bold.odt",
      "pandoc/test/command/B.txt",
      "poi/test-data/document/MSWriteOld.wri",
      "libwpd/tests/SANYIG01.C3P",
  };
  const std::string in = copyCorpus(files);
  const std::string out = tmp / "out/";
  const auto before = readFile(in + files[0]);

  const auto result = batch({"/i:", in, "/o:", out, "/if:", "0", "/of:", "6"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.out, "Files analized: 11  converted: 11  in error: 0")) << result.out;
  for (const std::string& f : files) {
    const fs::path pdf = fs::path(out) / fs::path(f).replace_extension(".pdf");
    ASSERT_TRUE(fs::exists(pdf)) << pdf;
    EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-") << pdf;
  }
  EXPECT_EQ(readFile(in + files[0]), before);

  const std::string log = readFile(out + "Log/ConvLog.txt");
  EXPECT_EQ(count(log, " Result OK - at: "), files.size());
  EXPECT_TRUE(contains(log, " Pages - ")) << log;
  EXPECT_TRUE(contains(log, "Folder " + out + "poi/ created"));
  const std::string index = readFile(out + "Log/Index.html");
  EXPECT_TRUE(contains(index, "<a href=\"" + out + "pandoc/test/odt/odt/bold.pdf\">bold.pdf</a>"));
  EXPECT_TRUE(ProcessesWithCommandLine(officeTag()).empty()) << "the office outlived the run";
}

// The error line of each document that failed, by its full input path: the text after
// " Result ERROR - " up to the time.
std::map<std::string, std::string> errorsByInput(const std::string& errorLog) {
  std::map<std::string, std::string> errors;
  const std::string kBlock = "Error on conversion\r\n";
  for (size_t at = errorLog.find(kBlock); at != std::string::npos;) {
    const size_t next = errorLog.find(kBlock, at + kBlock.size());
    const std::string block = errorLog.substr(at, next == std::string::npos ? next : next - at);
    at = next;
    const auto dir = block.find("Input Path: ");
    const auto conversion = block.find("Conversion ");
    const auto result = block.find(" Result ERROR - ");
    if (dir == std::string::npos || conversion == std::string::npos ||
        result == std::string::npos) {
      continue;
    }
    const std::string folder =
        block.substr(dir + 12, block.find(" - Output Path: ", dir) - dir - 12);
    const std::string name =
        block.substr(conversion + 11, block.find(" -> ", conversion) - conversion - 11);
    const auto end = block.rfind(" at:");
    errors[folder + name] = block.substr(result + 16, end - result - 16);
  }
  return errors;
}

// Each file that other projects call broken, in one run: a clear error, or a conversion that
// carries the text the file really holds; never a hang, and the run goes on to the end.
TEST_F(BatchRun, EveryBrokenDocumentFailsClearlyOrConvertsItsRealContent) {
  CORPUS_OR_SKIP("_broken");
  // Same-named files of two formats keep apart outputs; a hang would end as a timeout.
  writeIni("[Options]\nAddOrigExtToFilNam=1\nDocTimeout=120\n");
  const std::string in = fs::weakly_canonical(kCorpus + "/_broken").string() + "/";
  const std::string out = tmp / "out/";
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(in)) {
    if (entry.is_regular_file()) {
      files.push_back(entry.path());
    }
  }
  const auto result = batch({"/i:", in, "/o:", out, "/if:", "0", "/of:", "9"});
  const auto errors = errorsByInput(readFile(out + "Log/ErrorLog.txt"));

  word::testing::TestOffice office(tmp / "reader");
  size_t converted = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const fs::path relative = fs::relative(file, in);
    const fs::path output = fs::path(out) / relative.parent_path() /
                            (file.stem().string() + file.extension().string().substr(1) + ".txt");
    const auto error = errors.find(file.string());
    if (fs::exists(output)) {
      ++converted;
      EXPECT_EQ(error, errors.end()) << "converted and in error";
      EXPECT_EQ(word::testing::contentProblem(word::testing::sourceTextOf(office, file.string()),
                                              readFile(output)),
                "");
      continue;
    }
    ASSERT_NE(error, errors.end()) << "neither converted nor in error";
    const std::string& message = error->second;
    EXPECT_EQ(message.rfind("Can't open file " + file.string() + ". Error: [Error:", 0), 0u)
        << message;
    for (const char* unclear : {"Unknown error", "timed out", "::", "0x"}) {
      EXPECT_FALSE(contains(message, unclear)) << message;
    }
  }
  EXPECT_EQ(errors.size() + converted, files.size());
  EXPECT_GT(converted, 0u);
  EXPECT_EQ(result.exitCode, errors.empty() ? 0 : 1) << result.err;
  EXPECT_TRUE(contains(result.out, "Files analized: " + std::to_string(files.size()) +
                                       "  converted: " + std::to_string(converted) +
                                       "  in error: " + std::to_string(errors.size())))
      << result.out << result.err;
  EXPECT_TRUE(ProcessesWithCommandLine(officeTag()).empty()) << "the office outlived the run";
}

// Documents made here in each family the office reads, and the faults a user meets: the
// summary, the warning a passed-over packaging fault leaves, and each refusal's error line.
// The text output of an input with AddOrigExtToFilNam: "web/a.doc" gives "web/adoc.txt".
std::string outputName(const std::string& input) {
  const fs::path path(input);
  return (path.parent_path() /
          (path.stem().string() + path.extension().string().substr(1) + ".txt"))
      .string();
}

TEST_F(BatchRun, ConvertsMadeDocumentsAndSaysWhatItPassedOverOrRefused) {
  const std::vector<std::string> paragraphs = {
      "Minutes of the archive committee, second meeting of the year.",
      "Present were the keeper, the treasurer and two volunteers."};
  // Same-named files of several formats keep apart outputs.
  writeIni("[Options]\nAddOrigExtToFilNam=1\n");
  const std::string in = tmp / "in/";
  {
    word::testing::TestOffice office(tmp / "maker");
    const word::testing::MadeDocument document{paragraphs, "", ""};
    office.write(in + "minutes.doc", "MS Word 97", document);
    office.write(in + "minutes.rtf", "Rich Text Format", document);
    office.write(in + "minutes.odt", "writer8", document);
    office.write(in + "web/minutes.html", "HTML (StarWriter)", document);
    office.write(tmp / "clean.docx", "MS Word 2007 XML", document);
    office.write(in + "secret.doc", "MS Word 97",
                 word::testing::MadeDocument{paragraphs, "", "pw"});
    const std::string core =
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/"
        "core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title "
        "xml:lang=\"en\">Minutes</dc:title></cp:coreProperties>";
    std::ofstream(in + "minutes.docx", std::ios::binary)
        << office.zipWith(tmp / "clean.docx", {{"docProps/core.xml", core}});
    const std::string clean = readFile(tmp / "clean.docx");
    std::ofstream(in + "cut.docx", std::ios::binary) << clean.substr(0, 100);
  }
  std::ofstream(in + "minutes.wpd", std::ios::binary)
      << word::testing::wordPerfect5File(paragraphs);
  std::ofstream(in + "minutes.wri", std::ios::binary)
      << word::testing::windowsWriteFile(paragraphs);
  std::ofstream(in + "README.DOC", std::ios::binary)
      << "READ ME FIRST\r\n\r\nThe disk holds the minutes of 1987.\r\n\x1a";
  std::string noise;
  for (int i = 0; i < 4096; ++i) {
    noise += static_cast<char>((i * 7919 + 13) % 256);
  }
  std::ofstream(in + "noise.doc", std::ios::binary) << noise;
  const std::string secretBefore = readFile(in + "secret.doc");

  const std::string out = tmp / "out/";
  const auto result = batch({"/i:", in, "/o:", out, "/if:", "0", "/of:", "9"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_TRUE(contains(result.out,
                       "Files analized: 11  converted: 8  in error: 3  skipped: 0  "
                       "with warnings: 1  folders: 2"))
      << result.out;

  for (const std::string name : {"minutes.doc", "minutes.rtf", "minutes.odt", "web/minutes.html",
                                 "minutes.docx", "minutes.wpd", "minutes.wri"}) {
    const std::string text = readFile(out + outputName(name));
    EXPECT_TRUE(contains(text, paragraphs[0] + "\r\n" + paragraphs[1])) << name << ": " << text;
  }
  const std::string readMe = "READ ME FIRST\r\n\r\nThe disk holds the minutes of 1987.\r\n";
  EXPECT_EQ(readFile(out + "READMEDOC.txt").substr(0, readMe.size()), readMe);

  const std::string warnings = readFile(out + "Log/WarnsLog.txt");
  EXPECT_TRUE(contains(warnings,
                       "Conversion minutes.docx -> minutesdocx.txt\r\n"
                       "Warning - the file breaks a packaging rule that was passed over: "
                       "the core properties carry xml:lang\r\n\r\n"))
      << warnings;
  EXPECT_TRUE(contains(warnings, "Total number of files with warning(s): 1")) << warnings;

  const std::string errors = readFile(out + "Log/ErrorLog.txt");
  for (const auto& [name, words] : std::vector<std::pair<std::string, std::string>>{
           {"secret.doc", "[Error:65551] Wrong password / encrypted document"},
           {"cut.docx", "[Error:3878] File is corrupt"},
           {"noise.doc", "[Error:3861] File format not recognised (binary data)"}}) {
    EXPECT_TRUE(
        contains(errors, "Conversion " + name + " -> " + outputName(name) +
                             "\r\n ----------------------------------------------------------"
                             "\r\n Result ERROR - Can't open file " +
                             in + name + ". Error: " + words + " at:"))
        << name << "\n"
        << errors;
    EXPECT_FALSE(fs::exists(out + outputName(name))) << name;
  }
  EXPECT_EQ(count(errors, " Result ERROR - "), 3u) << errors;
  EXPECT_EQ(readFile(in + "secret.doc"), secretBefore);
  EXPECT_TRUE(ProcessesWithCommandLine(officeTag()).empty()) << "the office outlived the run";
}

TEST_F(BatchRun, OfficeKilledInTheMiddleIsRelaunchedAndTheRunGoesOn) {
  std::vector<std::string> files;
  for (int i = 0; i < 24; ++i) {
    const std::string name = "doc" + std::to_string(100 + i) + ".rtf";
    std::ofstream(tmp / ("in/" + name)) << "{\\rtf1\\ansi Document " << i << ".\\par}";
  }
  const std::string out = tmp / "out/";
  // One office: a second one would carry on with the documents of the killed one.
  const pid_t pid = testing::StartProgram(
      args({"-j", "1", "/i:", tmp / "in/", "/o:", out, "/of:", "0"}), env(), tmp / "proc");
  bool killed = false;
  for (int i = 0; i < 600 && !killed; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (count(readFile(out + "Log/ConvLog.txt"), "Result OK") >= 4) {
      for (pid_t office : ProcessesWithCommandLine(officeTag())) {
        killed = kill(office, SIGKILL) == 0 || killed;
      }
    }
  }
  const auto result = testing::WaitProgram(pid, tmp / "proc");
  ASSERT_TRUE(killed);
  const std::string log = readFile(out + "Log/ConvLog.txt");
  EXPECT_LE(count(log, "Result ERROR"), 1u) << log;
  EXPECT_EQ(count(log, "Result OK") + count(log, "Result ERROR"), 24u) << log;
  EXPECT_TRUE(contains(result.out, "Files analized: 24")) << result.out;
}

TEST_F(BatchRun, HungOfficeIsEndedByTheDocumentTimeLimit) {
  writeIni("[Options]\nDocTimeout=3\n");
  for (int i = 0; i < 8; ++i) {
    std::ofstream(tmp / ("in/doc" + std::to_string(i) + ".rtf"))
        << "{\\rtf1\\ansi Document " << i << ".\\par}";
  }
  const std::string out = tmp / "out/";
  const pid_t pid = testing::StartProgram(
      args({"-j", "1", "/i:", tmp / "in/", "/o:", out, "/of:", "8"}), env(), tmp / "proc");
  bool stopped = false;
  for (int i = 0; i < 600 && !stopped; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (count(readFile(out + "Log/ConvLog.txt"), "Result OK") >= 2) {
      for (pid_t office : ProcessesWithCommandLine(officeTag())) {
        stopped = kill(office, SIGSTOP) == 0 || stopped;
      }
    }
  }
  const auto result = testing::WaitProgram(pid, tmp / "proc");
  ASSERT_TRUE(stopped);
  // The office hung either inside a document, which then fails with the timeout, or between
  // two documents, where the time limit of the next one ends it; the run goes on either way.
  const std::string errors = readFile(out + "Log/ErrorLog.txt");
  const size_t timedOut = count(errors, " Result ERROR - Conversion timed out after 3 s at:");
  EXPECT_EQ(count(errors, " Result ERROR - "), timedOut) << errors;
  EXPECT_LE(timedOut, 1u) << errors;
  EXPECT_EQ(result.exitCode, timedOut == 1 ? 1 : 0) << result.err;
  EXPECT_TRUE(contains(result.out, "Files analized: 8  converted: " + std::to_string(8 - timedOut)))
      << result.out;
  EXPECT_EQ(count(result.err, "Opening LibreOffice..."), 2u) << result.err;
}

TEST_F(BatchRun, StartUpProblemsEndWithStatusTwoAndAClearMessage) {
  auto result = batch({"/i:", "/no/such/folder/", "/o:", tmp / "out/"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(contains(result.err, "Path not found: /no/such/folder/")) << result.err;

  std::ofstream(tmp / "in/a.rtf") << "{\\rtf1 a\\par}";
  // XPS is in the list, but the office cannot write it.
  result = batch({"/i:", tmp / "in/", "/o:", tmp / "out/", "/of:", "7"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(contains(result.err, "XPS")) << result.err;
  EXPECT_FALSE(fs::exists(tmp / "out/a.xps"));

  result = batch({"/i:", tmp / "in/", "/o:", tmp / "out/", "/of:", "999"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(contains(result.err, "--list-formats")) << result.err;

  // Output in the input folder: the console answers the warning No.
  result = batch({"/i:", tmp / "in/"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_TRUE(contains(result.err, "Input and Output directory are the same")) << result.err;
}

TEST_F(BatchRun, ListsFormatsWithTheirPositions) {
  const auto result = batch({"--list-formats"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.out, "\n0: Auto - (*)\n"));
  EXPECT_TRUE(contains(result.out, "\n6: PDF - (pdf)\n"));
  EXPECT_TRUE(contains(result.out, "\n13: PDF - (pdf)\n"));
  EXPECT_TRUE(contains(result.out, "\n8: Rich Text Format - (rtf)\n"));
}

TEST_F(BatchRun, SingleFileFormConvertsOneFile) {
  std::ofstream(tmp / "in/one.rtf") << "{\\rtf1\\ansi One.\\par}";
  std::ofstream(tmp / "in/two.rtf") << "{\\rtf1\\ansi Two.\\par}";
  const std::string out = tmp / "out/";
  const auto result = batch({"/s", "/i:", tmp / "in/one.rtf", "/o:", out, "/of:", "9"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(readFile(out + "one.txt"), "One.")) << readFile(out + "one.txt");
  EXPECT_FALSE(fs::exists(out + "two.txt"));
  EXPECT_TRUE(contains(result.out, "Files analized: 1  converted: 1")) << result.out;
}

}  // namespace
}  // namespace kelvara
