#include "app/instance/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <fstream>
#include <future>

#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace kelvara::instance {
namespace {

TEST(SingleInstanceTest, ALaterCopyFindsTheFirstAndHandsItsParametersOver) {
  testing::TempDir dir;
  SingleInstance first(dir.path() + "run");
  ASSERT_FALSE(first.anotherRuns());
  ASSERT_TRUE(first.listen());
  QSignalSpy asked(&first, &SingleInstance::activationRequested);

  SingleInstance second(dir.path() + "run");
  EXPECT_TRUE(second.anotherRuns());
  EXPECT_FALSE(second.listen());
  // The later copy waits for the answer; the first answers from its event loop.
  std::future<bool> answered = std::async(std::launch::async, [&second] {
    return second.activateFirst({"/a", "/i:", "/data/with blank/"});
  });
  ASSERT_TRUE(asked.wait(5000));
  EXPECT_TRUE(answered.get());
  EXPECT_EQ(asked.at(0).at(0).toStringList(), (QStringList{"/a", "/i:", "/data/with blank/"}));
}

// The later copy of the two-process test: this test binary started again with the folder of the
// first copy's lock in the environment. Without it the test has nothing to do.
TEST(SingleInstanceLaterCopy, AsksTheFirstCopyToShowItself) {
  const char* folder = std::getenv("KELVARA_TEST_INSTANCE_DIR");
  if (!folder) {
    GTEST_SKIP() << "run by SingleInstanceTest.TwoProcessesHandOverThroughTheSocket";
  }
  SingleInstance later(folder);
  ASSERT_TRUE(later.anotherRuns());
  EXPECT_TRUE(later.activateFirst({"/a", "from the second process"}));
}

TEST(SingleInstanceTest, TwoProcessesHandOverThroughTheSocket) {
  testing::TempDir dir;
  const std::string folder = dir.path() + "run";
  SingleInstance first(folder);
  ASSERT_TRUE(first.listen());
  QSignalSpy asked(&first, &SingleInstance::activationRequested);
  const pid_t later = testing::StartProgram(
      {"/proc/self/exe", "--gtest_filter=SingleInstanceLaterCopy.*"},
      {{"KELVARA_TEST_INSTANCE_DIR", folder}, {"QT_QPA_PLATFORM", "offscreen"}}, dir.path());
  ASSERT_TRUE(asked.wait(10000));
  EXPECT_EQ(asked.at(0).at(0).toStringList(), (QStringList{"/a", "from the second process"}));
  const testing::ProcessResult result = testing::WaitProgram(later, dir.path());
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

TEST(SingleInstanceTest, ACrashedCopyLeavesNoLockAndItsSocketFileIsReplaced) {
  testing::TempDir dir;
  const std::string folder = dir.path() + "run";
  const pid_t child = ::fork();
  if (child == 0) {
    SingleInstance crashing(folder);
    // A socket file as a copy that crashed would leave it, then the crash itself.
    std::ofstream(folder + "/kelvara.socket") << "";
    ::_exit(crashing.anotherRuns() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);

  SingleInstance next(folder);
  EXPECT_FALSE(next.anotherRuns());
  EXPECT_TRUE(next.listen());
}

TEST(SingleInstanceTest, WithNoFirstCopyListeningTheAskReturnsFalse) {
  testing::TempDir dir;
  SingleInstance alone(dir.path() + "run");
  EXPECT_FALSE(alone.activateFirst({}, 200));
}

}  // namespace
}  // namespace kelvara::instance
