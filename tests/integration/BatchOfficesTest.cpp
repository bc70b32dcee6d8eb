// The offices of kelvara-batch runs: an ended run's office is cleared, a living run's never, and
// no office outlives the run that started it however that run is ended.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "platform/Process.h"
#include "support/ScratchDir.h"
#include "support/Subprocess.h"
#include "support/TextSearch.h"

namespace kelvara {
namespace {

using testing::count;

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ProcessesWithCommandLine;
using testing::readFile;

// Polls until the condition holds; false when a minute passes first.
bool eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 1200; ++i) {
    if (condition()) {
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

// Whatever a test finds, a child it started does not outlive it.
struct ChildGuard {
  int pid;
  std::optional<int> status;  // set once reaped: the pid may then belong to someone else
  ~ChildGuard() {
    if (!status) {
      platform::killProcessTree(pid);
      platform::waitForChild(pid, 5s);
    }
  }
};

// Operators' runs on one machine: one user, one state folder, one Kelva.ini.
class BatchOffices : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(tmp / "config");
    fs::create_directories(tmp / "state");
  }

  std::map<std::string, std::string> env() const {
    return {{"KELVARA_CONFIG_DIR", tmp / "config"},
            {"XDG_STATE_HOME", tmp / "state"},
            {"XDG_RUNTIME_DIR", tmp / "state"}};
  }

  // A folder of small documents, in/<name>/.
  std::string documents(const std::string& name, int n) {
    const std::string folder = tmp.dir("in/" + name);
    for (int i = 0; i < n; ++i) {
      std::ofstream(folder + "doc" + std::to_string(1000 + i) + ".rtf")
          << "{\\rtf1\\ansi Document " << i << " of " << name << ".\\par}";
    }
    return folder;
  }

  // Starts kelvara-batch converting in/<name>/ to out/<name>/; stdout and stderr in proc/<name>/.
  pid_t start(const std::string& name) {
    const std::string proc = tmp.dir("proc/" + name);
    return testing::StartProgram(
        {KELVARA_BATCH_EXE, "/i:", tmp / ("in/" + name + "/"), "/o:", out(name), "/of:", "8"},
        env(), proc);
  }
  testing::ProcessResult wait(pid_t pid, const std::string& name) {
    return testing::WaitProgram(pid, tmp / ("proc/" + name));
  }

  std::string out(const std::string& name) const { return tmp / ("out/" + name + "/"); }
  std::string mainLog(const std::string& name) const {
    return readFile(out(name) + "Log/ConvLog.txt");
  }
  // True once the run has converted some documents: its office is up.
  std::function<bool()> converting(const std::string& name) const {
    return [this, name] { return count(mainLog(name), "Result OK") >= 2; };
  }

  std::string stateOf(const std::string& run) const { return tmp / "state/kelvara/office-" + run; }
  std::vector<pid_t> offices() const { return ProcessesWithCommandLine(tmp / "state/kelvara"); }

  testing::ScratchDir tmp;
};

TEST_F(BatchOffices, TheOfficeOfAnEndedRunIsClearedWithItsProfile) {
  // The pid of a run that has ended.
  platform::SpawnOptions quick;
  quick.argv = {"/bin/true"};
  const auto ended = platform::spawnProcess(quick);
  ASSERT_TRUE(ended);
  platform::waitForChild(*ended, 5s);
  const std::string profile = stateOf("kelvara-" + std::to_string(*ended));
  fs::create_directories(profile);

  // A real office on that run's profile, started through the launcher, so a tree of two.
  platform::SpawnOptions spawn;
  spawn.argv = {"/usr/lib/libreoffice/program/soffice",
                "--headless",
                "--invisible",
                "--norestore",
                "--nodefault",
                "--nolockcheck",
                "--accept=pipe,name=kelvara-" + std::to_string(*ended) + ";urp;",
                "-env:UserInstallation=file://" + profile};
  const auto stale = platform::spawnProcess(spawn);
  ASSERT_TRUE(stale);
  ChildGuard guard{*stale, std::nullopt};
  // Up once the launcher has its office child.
  ASSERT_TRUE(eventually([&] {
    const auto offices = ProcessesWithCommandLine("program/soffice.bin");
    return std::any_of(offices.begin(), offices.end(), [&](pid_t office) {
      const auto onProfile = ProcessesWithCommandLine(profile);
      return std::find(onProfile.begin(), onProfile.end(), office) != onProfile.end();
    });
  }));

  documents("a", 2);
  const auto result = wait(start("a"), "a");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(count(result.err, "LibreOffice is running. It will be tried to close it"), 1u)
      << result.err;
  guard.status = platform::waitForChild(*stale, 10s);
  EXPECT_EQ(guard.status, 128 + SIGKILL);
  EXPECT_TRUE(ProcessesWithCommandLine(profile).empty());
  EXPECT_FALSE(fs::exists(profile));
  EXPECT_TRUE(offices().empty()) << "the run's own office outlived it";
  EXPECT_TRUE(fs::is_empty(tmp / "state/kelvara"));
}

TEST_F(BatchOffices, RunsSideBySideNeverEndEachOthersOffices) {
  documents("first", 20);
  documents("second", 10);
  documents("aborted", 300);
  const pid_t first = start("first");
  ASSERT_TRUE(eventually(converting("first")));
  // Held still, so that the others surely meet it; its office runs on meanwhile.
  ASSERT_EQ(kill(first, SIGSTOP), 0);

  // A second run beside it clears stale offices at its start and finishes.
  const auto second = wait(start("second"), "second");
  EXPECT_EQ(second.exitCode, 0) << second.err;
  EXPECT_NE(second.out.find("Files analized: 10  converted: 10  in error: 0"), std::string::npos)
      << second.out;
  EXPECT_EQ(second.err.find("LibreOffice is running"), std::string::npos) << second.err;

  // A third one is aborted by a second request to end: its office goes, the first run's stays.
  const pid_t third = start("aborted");
  ASSERT_TRUE(eventually(converting("aborted")));
  const std::string thirdProfile = stateOf("kelvara-" + std::to_string(third));
  ASSERT_FALSE(ProcessesWithCommandLine(thirdProfile).empty());
  // Both pending at once, so that the run cannot end between them; two different signals, as
  // two of one kind merge while pending.
  kill(third, SIGSTOP);
  kill(third, SIGINT);
  kill(third, SIGTERM);
  kill(third, SIGCONT);
  const auto aborted = wait(third, "aborted");
  EXPECT_EQ(aborted.exitCode, 130) << aborted.err;
  EXPECT_TRUE(eventually([&] { return ProcessesWithCommandLine(thirdProfile).empty(); }));

  ASSERT_EQ(kill(first, SIGCONT), 0);
  const auto result = wait(first, "first");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("Files analized: 20  converted: 20  in error: 0"), std::string::npos)
      << result.out;
  // Started once and never relaunched: nobody ended its office.
  EXPECT_EQ(count(result.err, "Opening LibreOffice..."), 1u) << result.err;
  EXPECT_TRUE(eventually([&] { return offices().empty(); }));
}

TEST_F(BatchOffices, AClosedTerminalEndsTheRunWithItsSummaryAndItsOffice) {
  documents("a", 300);
  int terminal = -1;
  const pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    for (const auto& [name, value] : env()) {
      setenv(name.c_str(), value.c_str(), 1);
    }
    execl(KELVARA_BATCH_EXE, KELVARA_BATCH_EXE, "/i:", (tmp / "in/a/").c_str(),
          "/o:", out("a").c_str(), "/of:", "8", static_cast<char*>(nullptr));
    _exit(127);
  }
  fcntl(terminal, F_SETFL, O_NONBLOCK);
  const auto isConverting = converting("a");
  ASSERT_TRUE(eventually([&] {
    char buffer[4096];
    while (read(terminal, buffer, sizeof buffer) > 0) {
    }
    return isConverting();
  }));
  close(terminal);
  // The shell of a closing terminal forwards its own hangup as well.
  kill(pid, SIGHUP);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

  const std::string log = mainLog("a");
  const auto end = log.rfind("End of conversion");
  ASSERT_NE(end, std::string::npos) << log;
  const std::string summaryStart = "\n Files analized: ";
  const auto summary = log.find(summaryStart, end);
  ASSERT_NE(summary, std::string::npos) << log.substr(end);
  EXPECT_EQ(log.back(), '\n');
  const int analysed = std::stoi(log.substr(summary + summaryStart.size()));
  EXPECT_LT(analysed, 300) << "the run stopped after its current document";
  EXPECT_EQ(count(log, "Result OK"), static_cast<size_t>(analysed));
  EXPECT_TRUE(eventually([&] { return offices().empty(); }));
}

TEST_F(BatchOffices, OutputToAClosedPipeDoesNotEndTheRun) {
  documents("a", 3);
  // A warning goes out before the office starts.
  std::ofstream(tmp / "config/Kelva.ini") << "[Options]\nDocTimeout=abc\n";
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    for (const auto& [name, value] : env()) {
      setenv(name.c_str(), value.c_str(), 1);
    }
    signal(SIGPIPE, SIG_DFL);  // as a shell starts it, whatever this test process set
    dup2(ends[1], 1);
    dup2(ends[1], 2);
    close(ends[0]);
    execl(KELVARA_BATCH_EXE, KELVARA_BATCH_EXE, "/i:", (tmp / "in/a/").c_str(),
          "/o:", out("a").c_str(), "/of:", "8", static_cast<char*>(nullptr));
    _exit(127);
  }
  // Nobody reads what the run writes.
  close(ends[0]);
  close(ends[1]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_NE(mainLog("a").find(" Files analized: 3 Files converted: 3"), std::string::npos)
      << mainLog("a");
  EXPECT_TRUE(eventually([&] { return offices().empty(); }));
}

TEST_F(BatchOffices, AKilledRunTakesItsOfficeAlong) {
  documents("a", 300);
  const pid_t pid = start("a");
  ASSERT_TRUE(eventually(converting("a")));
  ASSERT_FALSE(offices().empty());
  kill(pid, SIGKILL);
  EXPECT_EQ(wait(pid, "a").exitCode, 128 + SIGKILL);
  EXPECT_TRUE(eventually([&] { return offices().empty(); }));
  // Its profile is left for the next run to clear.
  documents("b", 1);
  EXPECT_EQ(wait(start("b"), "b").exitCode, 0);
  EXPECT_FALSE(fs::exists(stateOf("kelvara-" + std::to_string(pid))));
}

}  // namespace
}  // namespace kelvara
