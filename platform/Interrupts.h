#pragma once

#include <functional>

namespace kelvara::platform {

// Turns Ctrl+C (SIGINT) and SIGTERM into calls on a thread of their own: the first one calls
// onFirst, any later one onSecond. Call start() before any other thread exists, so that every
// thread inherits the blocked signals and only the watcher receives them.
class InterruptWatcher {
 public:
  static void start(std::function<void()> onFirst, std::function<void()> onSecond);
};

}  // namespace kelvara::platform
