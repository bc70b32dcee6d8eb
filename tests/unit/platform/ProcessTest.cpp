#include "platform/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace kelvara::platform {
namespace {

using namespace std::chrono_literals;

std::optional<int> spawnShell(const std::string& script, const std::string& argv0 = "sh") {
  SpawnOptions options;
  options.program = "/bin/sh";
  options.argv = {argv0, "-c", script};
  return spawnProcess(options);
}

// Children of pid as the process list shows them, waiting a moment for them to appear.
std::vector<int> childrenOf(int pid, size_t expected) {
  std::vector<int> children;
  for (int attempt = 0; attempt < 200 && children.size() < expected; ++attempt) {
    children.clear();
    for (const auto& p : listProcesses()) {
      if (p.ppid == pid) {
        children.push_back(p.pid);
      }
    }
    std::this_thread::sleep_for(10ms);
  }
  return children;
}

TEST(ProcessListTest, ShowsThisProcessWithItsCommandLine) {
  const auto processes = listProcesses();
  auto self = std::find_if(processes.begin(), processes.end(),
                           [](const ProcessInfo& p) { return p.pid == currentProcessId(); });
  ASSERT_NE(self, processes.end());
  ASSERT_FALSE(self->commandLine.empty());
  EXPECT_NE(self->commandLine.front().find("tests"), std::string::npos);
  EXPECT_TRUE(
      std::is_sorted(processes.begin(), processes.end(),
                     [](const ProcessInfo& a, const ProcessInfo& b) { return a.pid < b.pid; }));
}

TEST(ProcessTreeTest, KillOrderPutsEveryChildBeforeItsParent) {
  // 1 -> 10 -> {11, 12 -> 13}; 20 is unrelated.
  const std::vector<ProcessInfo> list = {{1, 0, {}},   {10, 1, {}},  {11, 10, {}},
                                         {12, 10, {}}, {13, 12, {}}, {20, 1, {}}};
  const auto order = processTreeKillOrder(list, 10);
  ASSERT_EQ(order.size(), 4u);
  auto pos = [&order](int pid) {
    return std::find(order.begin(), order.end(), pid) - order.begin();
  };
  EXPECT_LT(pos(13), pos(12));
  EXPECT_LT(pos(12), pos(10));
  EXPECT_LT(pos(11), pos(10));
  EXPECT_EQ(order.back(), 10);
  EXPECT_EQ(std::count(order.begin(), order.end(), 20), 0);
}

TEST(ProcessTreeTest, SurvivesAParentCycleInTheList) {
  const std::vector<ProcessInfo> list = {{5, 6, {}}, {6, 5, {}}};
  const auto order = processTreeKillOrder(list, 5);
  EXPECT_EQ(order.size(), 2u);
  EXPECT_EQ(order.back(), 5);
}

TEST(SpawnTest, ReportsTheExitCodeAndTheSignal) {
  auto exits = spawnShell("exit 81");
  ASSERT_TRUE(exits);
  EXPECT_EQ(waitForChild(*exits, 5s), 81);

  auto killed = spawnShell("kill -9 $$");
  ASSERT_TRUE(killed);
  EXPECT_EQ(waitForChild(*killed, 5s), 128 + 9);
}

TEST(SpawnTest, GivesTheChildItsOwnArgumentVector) {
  auto pid = spawnShell("sleep 30", "soffice.bin");
  ASSERT_TRUE(pid);
  std::vector<std::string> seen;
  for (int attempt = 0; attempt < 100 && seen.empty(); ++attempt) {
    for (const auto& p : listProcesses()) {
      if (p.pid == *pid) {
        seen = p.commandLine;
      }
    }
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[0], "soffice.bin");
  EXPECT_EQ(seen[2], "sleep 30");
  killProcessTree(*pid);
  waitForChild(*pid, 5s);
}

TEST(SpawnTest, FailsCleanlyForAMissingProgram) {
  SpawnOptions options;
  options.argv = {"/nonexistent/program"};
  std::string error;
  EXPECT_FALSE(spawnProcess(options, &error));
  EXPECT_NE(error.find("/nonexistent/program"), std::string::npos);
}

// The office's way of spawning: forked by hand so that it dies with the thread that started it.
SpawnOptions boundShell(const std::string& script) {
  SpawnOptions options;
  options.program = "/bin/sh";
  options.argv = {"sh", "-c", script};
  options.endWithParent = true;
  return options;
}

TEST(SpawnTest, ABoundChildOutlivesTheThreadThatSpawnedIt) {
  // The kernel's parent-death signal follows the forking thread; the threads that start offices
  // end before the program does.
  std::optional<int> bound;
  std::thread([&] { bound = spawnProcess(boundShell("sleep 30")); }).join();
  ASSERT_TRUE(bound);
  EXPECT_FALSE(waitForChild(*bound, 300ms));
  EXPECT_TRUE(killProcessTree(*bound));
  EXPECT_EQ(waitForChild(*bound, 5s), 128 + 9);
}

TEST(SpawnTest, ABoundChildGetsItsStreamsAndNothingElseOfOurs) {
  const std::string out =
      ::testing::TempDir() + "bound-child-" + std::to_string(currentProcessId());
  // A descriptor without close-on-exec, and a blocked signal, as the interrupt watcher leaves.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const int leaked = fcntl(fds[0], F_DUPFD, 100);
  ASSERT_GE(leaked, 100);
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  sigset_t before;
  pthread_sigmask(SIG_BLOCK, &term, &before);

  SpawnOptions listing = boundShell("echo \"$0\"; ls /proc/self/fd; echo oops >&2");
  listing.argv.push_back("named");
  listing.stdoutPath = out;
  listing.stderrPath = out;
  auto pid = spawnProcess(listing);
  ASSERT_TRUE(pid);
  EXPECT_EQ(waitForChild(*pid, 5s), 0);
  const std::string text = [&out] {
    std::ifstream in(out);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  EXPECT_EQ(text.rfind("named\n", 0), 0u) << text;
  EXPECT_NE(text.find("oops"), std::string::npos) << text;
  EXPECT_EQ(text.find(std::to_string(leaked)), std::string::npos) << text;

  auto sleeper = spawnProcess(boundShell("sleep 30"));
  ASSERT_TRUE(sleeper);
  std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(sendSignal(*sleeper, Signal::Terminate));
  EXPECT_EQ(waitForChild(*sleeper, 5s), 128 + 15) << "the child must not inherit blocked signals";

  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  close(leaked);
  close(fds[0]);
  close(fds[1]);
  std::remove(out.c_str());

  SpawnOptions missing = boundShell("");
  missing.program = "/nonexistent/program";
  std::string error;
  EXPECT_FALSE(spawnProcess(missing, &error));
  EXPECT_EQ(error, "/nonexistent/program: No such file or directory");
}

TEST(SpawnTest, RunsInTheGivenFolderAndReplacesItsOutputFileEitherWay) {
  char folderPattern[] = "/tmp/kelvara-spawn-XXXXXX";
  ASSERT_NE(::mkdtemp(folderPattern), nullptr);
  const std::string folder = folderPattern;
  const std::string output = folder + "/out.txt";
  for (const bool bound : {false, true}) {
    std::ofstream(output) << "an older and much longer content\n";
    SpawnOptions options = boundShell("pwd");
    options.endWithParent = bound;
    options.workingDirectory = folder;
    options.stdoutPath = output;
    options.truncateStdout = true;
    const auto pid = spawnProcess(options);
    ASSERT_TRUE(pid);
    EXPECT_EQ(waitForChild(*pid, 5s), 0);
    std::ifstream in(output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), folder + "\n") << bound;
  }
  std::remove(output.c_str());
  ::rmdir(folder.c_str());
}

TEST(ProcessListTest, TellsStartOrderAndZombies) {
  auto pid = spawnShell("exit 0");
  ASSERT_TRUE(pid);
  std::this_thread::sleep_for(100ms);
  const auto processes = listProcesses();
  auto find = [&processes](int wanted) {
    return std::find_if(processes.begin(), processes.end(),
                        [wanted](const ProcessInfo& p) { return p.pid == wanted; });
  };
  const auto self = find(currentProcessId());
  const auto child = find(*pid);
  ASSERT_NE(self, processes.end());
  ASSERT_NE(child, processes.end());
  EXPECT_GT(self->startTicks, 0u);
  EXPECT_LE(self->startTicks, child->startTicks);
  EXPECT_FALSE(self->zombie);
  EXPECT_TRUE(child->zombie);
  EXPECT_EQ(waitForChild(*pid, 5s), 0);
}

TEST(WaitTest, TimesOutOnARunningChild) {
  auto pid = spawnShell("sleep 30");
  ASSERT_TRUE(pid);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(waitForChild(*pid, 100ms));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(isProcessAlive(*pid));
  EXPECT_TRUE(killProcessTree(*pid));
  EXPECT_EQ(waitForChild(*pid, 5s), 128 + 9);
  EXPECT_FALSE(isProcessAlive(*pid));
}

TEST(AliveTest, AZombieCountsAsEnded) {
  auto pid = spawnShell("exit 0");
  ASSERT_TRUE(pid);
  // Not reaped yet: the child is a zombie for a while.
  for (int attempt = 0; attempt < 200 && isProcessAlive(*pid); ++attempt) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_FALSE(isProcessAlive(*pid));
  EXPECT_EQ(waitForChild(*pid, 5s), 0);
}

TEST(KillTreeTest, EndsTheWholeTree) {
  // A shell with two children that would outlive it if only the shell were killed.
  auto pid = spawnShell("sleep 30 & sleep 30 & wait");
  ASSERT_TRUE(pid);
  const auto children = childrenOf(*pid, 2);
  ASSERT_EQ(children.size(), 2u);
  EXPECT_TRUE(killProcessTree(*pid));
  EXPECT_EQ(waitForChild(*pid, 5s), 128 + 9);
  for (int child : children) {
    for (int attempt = 0; attempt < 200 && isProcessAlive(child); ++attempt) {
      std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(isProcessAlive(child)) << child;
  }
}

TEST(KillTreeTest, EndsAStoppedProcess) {
  auto pid = spawnShell("sleep 30");
  ASSERT_TRUE(pid);
  ASSERT_TRUE(sendSignal(*pid, Signal::Stop));
  EXPECT_TRUE(killProcessTree(*pid));
  EXPECT_EQ(waitForChild(*pid, 5s), 128 + 9);
}

TEST(KillTreeTest, RefusesNonsensePids) {
  EXPECT_FALSE(killProcessTree(0));
  EXPECT_FALSE(killProcessTree(-1));
  EXPECT_FALSE(sendSignal(0, Signal::Kill));
}

}  // namespace
}  // namespace kelvara::platform

namespace kelvara::platform {
namespace {

TEST(ProcessMemory, ReadsOwnResidentSizeAndNothingForAMissingProcess) {
  const auto own = residentKilobytes(currentProcessId());
  ASSERT_TRUE(own.has_value());
  EXPECT_GT(*own, 0);
  EXPECT_FALSE(residentKilobytes(-1).has_value());
}

}  // namespace
}  // namespace kelvara::platform

namespace kelvara::platform {
namespace {

TEST(BrokenPipes, WriteToAClosedPipeFailsInsteadOfEndingTheProcess) {
  ignoreBrokenPipes();
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  errno = 0;
  EXPECT_EQ(write(fds[1], "x", 1), -1);
  EXPECT_EQ(errno, EPIPE);
  close(fds[1]);
}

}  // namespace
}  // namespace kelvara::platform
