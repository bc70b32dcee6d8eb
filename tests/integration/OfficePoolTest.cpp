// kelvara-batch with several offices: the same results as with one, and one office's trouble
// stays with that office's document.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "support/TextSearch.h"

namespace kelvara {
namespace {

using testing::count;

namespace fs = std::filesystem;
using testing::ProcessesWithCommandLine;
using testing::readFile;
using testing::ScratchDir;

class OfficePool : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* dir : {"config", "state", "proc", "in"}) {
      fs::create_directories(tmp / dir);
    }
  }

  std::map<std::string, std::string> env() const {
    return {{"KELVARA_CONFIG_DIR", tmp / "config"},
            {"XDG_STATE_HOME", tmp / "state"},
            {"XDG_RUNTIME_DIR", tmp / "state"}};
  }

  std::vector<std::string> args(std::vector<std::string> rest) const {
    rest.insert(rest.begin(), KELVARA_BATCH_EXE);
    return rest;
  }

  void rtf(const std::string& name, const std::string& text) {
    fs::create_directories((fs::path(tmp / "in") / name).parent_path());
    std::ofstream(tmp / ("in/" + name))
        << "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}" << text << "\\par}";
  }

  // Times of day differ between runs, and so does the output folder.
  static std::string masked(std::string text, const std::string& out) {
    text = std::regex_replace(text, std::regex("[0-9]{1,2}:[0-9]{2}:[0-9]{2}"), "HH:MM:SS");
    text = std::regex_replace(text, std::regex("Log started on day: [^\r\n]*"), "Log started");
    return std::regex_replace(text, std::regex(out), "OUT/");
  }

  ScratchDir tmp;
};

TEST_F(OfficePool, TwoOfficesWriteTheLogsAndIndexOfOne) {
  std::ofstream(tmp / "config/Kelva.ini") << "[Conversion Options]\nAddVersNum=1\n"
                                             "LogFileRenames=1\n";
  for (int i = 0; i < 6; ++i) {
    rtf("letter" + std::to_string(i) + ".rtf", "Letter number " + std::to_string(i) + ".");
  }
  rtf("sub/memo.rtf", "A memo\\page with two pages.");
  rtf("sub/deeper/note.rtf", "A note.");
  // Three documents wanting one output name, and a broken one.
  rtf("report.rtf", "The report as RTF.");
  std::ofstream(tmp / "in/report.txt") << "The report as text.\n";
  std::ofstream(tmp / "in/report.html") << "<html><body><p>The report as a page.</p></body></html>";
  std::ofstream(tmp / "in/broken.docx") << "PK\x03\x04 not really a package";

  std::map<std::string, std::map<std::string, std::string>> logs;
  for (const char* jobs : {"1", "2"}) {
    const std::string out = tmp / ("out" + std::string(jobs) + "/");
    const auto result = testing::RunProgram(
        args({"-j", jobs, "/i:", tmp / "in/", "/o:", out, "/of:", "6"}), env(), tmp / "proc");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.out.find("Files analized: 12  converted: 11  in error: 1"), std::string::npos)
        << result.out;
    for (const char* log :
         {"ConvLog.txt", "ErrorLog.txt", "WarnsLog.txt", "SkipsLog.txt", "Index.html"}) {
      logs[jobs][log] = masked(readFile(out + "Log/" + log), out);
    }
  }
  for (const auto& [log, text] : logs["1"]) {
    EXPECT_EQ(text, logs["2"][log]) << log;
  }
  for (const char* name : {"report.pdf", "report(1).pdf", "report(2).pdf"}) {
    EXPECT_TRUE(fs::exists(tmp / ("out2/" + std::string(name)))) << name;
  }
}

TEST_F(OfficePool, AnOfficeKilledFailsAtMostItsDocumentWhileTheOtherGoesOn) {
  for (int i = 0; i < 24; ++i) {
    rtf("doc" + std::to_string(100 + i) + ".rtf", "Document " + std::to_string(i) + ".");
  }
  const std::string out = tmp / "out/";
  const pid_t pid = testing::StartProgram(
      args({"-j", "2", "/i:", tmp / "in/", "/o:", out, "/of:", "0"}), env(), tmp / "proc");
  // Only the second office of the run.
  const std::string second = "office-kelvara-" + std::to_string(pid) + "-1";
  bool killed = false;
  for (int i = 0; i < 600 && !killed; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (count(readFile(out + "Log/ConvLog.txt"), "Result OK") >= 4) {
      for (pid_t office : ProcessesWithCommandLine(second)) {
        killed = kill(office, SIGKILL) == 0 || killed;
      }
    }
  }
  const auto result = testing::WaitProgram(pid, tmp / "proc");
  ASSERT_TRUE(killed);
  const std::string log = readFile(out + "Log/ConvLog.txt");
  EXPECT_LE(count(log, "Result ERROR"), 1u) << log;
  EXPECT_EQ(count(log, "Result OK") + count(log, "Result ERROR"), 24u) << log;
  EXPECT_NE(result.out.find("Files analized: 24"), std::string::npos) << result.out;
  EXPECT_TRUE(ProcessesWithCommandLine("office-kelvara-" + std::to_string(pid)).empty());
}

TEST_F(OfficePool, AHungOfficeIsEndedByItsTimeLimitWhileTheOtherGoesOn) {
  std::ofstream(tmp / "config/Kelva.ini") << "[Options]\nDocTimeout=3\n";
  // Enough documents that both offices are still at work when one of them is stopped.
  constexpr int kDocuments = 80;
  for (int i = 0; i < kDocuments; ++i) {
    rtf("doc" + std::to_string(i) + ".rtf", "Document " + std::to_string(i) + ".");
  }
  const std::string out = tmp / "out/";
  const pid_t pid = testing::StartProgram(
      args({"-j", "2", "/i:", tmp / "in/", "/o:", out, "/of:", "8"}), env(), tmp / "proc");
  const std::string second = "office-kelvara-" + std::to_string(pid) + "-1";
  bool stopped = false;
  for (int i = 0; i < 600 && !stopped; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (count(readFile(out + "Log/ConvLog.txt"), "Result OK") >= 2) {
      for (pid_t office : ProcessesWithCommandLine(second)) {
        stopped = kill(office, SIGSTOP) == 0 || stopped;
      }
    }
  }
  const auto result = testing::WaitProgram(pid, tmp / "proc");
  ASSERT_TRUE(stopped);
  const std::string errors = readFile(out + "Log/ErrorLog.txt");
  const size_t timedOut = count(errors, " Result ERROR - Conversion timed out after 3 s at:");
  EXPECT_EQ(count(errors, " Result ERROR - "), timedOut) << errors;
  EXPECT_LE(timedOut, 1u) << errors;
  EXPECT_NE(result.out.find("Files analized: " + std::to_string(kDocuments) +
                            "  converted: " + std::to_string(kDocuments - timedOut)),
            std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace kelvara
