#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "support/ScratchDir.h"

namespace kelvara::platform {
namespace {

TEST(FileLockTest, ASecondHolderWaitsForTheFirstAlsoInThisProcess) {
  testing::ScratchDir tmp;
  const std::string path = tmp / "turn.lock";
  std::atomic<bool> firstDone{false};
  std::atomic<bool> secondSawFirstDone{false};
  std::thread first;
  {
    const FileLock lock(path);
    ASSERT_TRUE(lock.held());
    first = std::thread([&] {
      const FileLock second(path);
      secondSawFirstDone = second.held() && firstDone.load();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    firstDone = true;
  }
  first.join();
  EXPECT_TRUE(secondSawFirstDone);
  EXPECT_FALSE(FileLock(tmp / "no such folder/turn.lock").held());
}

}  // namespace
}  // namespace kelvara::platform
