// kelvara-batch as an operator runs it, with the real office, on documents of the shared corpus.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "support/ScratchDir.h"
#include "support/Subprocess.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;
using testing::ProcessesWithCommandLine;
using testing::readFile;
using testing::ScratchDir;

const std::string kCorpus = KELVARA_CORPUS_DIR;

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) {
    ++n;
  }
  return n;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

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

// Readable despite their names: empty documents that once crashed another word processor, a
// fuzzed copy whose pages all load, and a schema fault in comment extensions only.
const std::set<std::string> kReadableBroken = {
    "51921-Word-Crash067.doc", "51921-Word-Crash067.docx", "Fuzzed.doc",
    "Invalid_Word15Comments.docx", "this-file-crashes-msword.doc"};

TEST_F(BatchRun, EveryBrokenDocumentEndsAsOneErrorAndTheRunGoesOn) {
  const std::string in = kCorpus + "/_broken/";
  const std::string out = tmp / "out/";
  size_t total = 0;
  std::vector<std::string> mustFail;
  for (const auto& entry : fs::recursive_directory_iterator(in)) {
    if (entry.is_regular_file()) {
      ++total;
      if (!kReadableBroken.count(entry.path().filename())) {
        mustFail.push_back(entry.path().filename());
      }
    }
  }
  const auto result = batch({"/i:", in, "/o:", out, "/if:", "0", "/of:", "0"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const size_t readable = total - mustFail.size();
  EXPECT_TRUE(contains(result.out, "Files analized: " + std::to_string(total) +
                                       "  converted: " + std::to_string(readable) +
                                       "  in error: " + std::to_string(mustFail.size())))
      << result.out << result.err;
  const std::string errors = readFile(out + "Log/ErrorLog.txt");
  EXPECT_EQ(count(errors, " Result ERROR - "), mustFail.size());
  for (const std::string& name : mustFail) {
    EXPECT_TRUE(contains(errors, "Conversion " + name + " -> ")) << name;
  }
  // Encrypted documents say so instead of asking for a password.
  EXPECT_EQ(count(errors, "encrypted document at:"), 6u) << errors;
  // No output is left for a document that failed.
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.is_regular_file() && entry.path().parent_path().filename() != "Log") {
      EXPECT_TRUE(kReadableBroken.count(entry.path().stem().string() + ".doc") ||
                  kReadableBroken.count(entry.path().stem().string() + ".docx"))
          << entry.path();
    }
  }
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
