#include "app/instance/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSignalSpy>
#include <fstream>
#include <future>

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
