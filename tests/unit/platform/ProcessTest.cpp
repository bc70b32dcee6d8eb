#include "platform/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include <unistd.h>

#include <cerrno>

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
