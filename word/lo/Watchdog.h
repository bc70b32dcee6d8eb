#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kelvara::word::lo {

// Ends a document that takes too long: once armed, calls onExpiry on its own thread when the
// limit passes before disarm(). The callback must only do thread-safe work (kill a process).
class Watchdog {
 public:
  explicit Watchdog(std::function<void()> onExpiry);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // Starts a new limit (and forgets an earlier expiry); a zero limit arms nothing.
  void arm(std::chrono::milliseconds limit);
  void disarm();
  // True when the limit of the last arm() passed and the callback ran.
  bool expired() const { return expired_.load(); }

 private:
  void run();

  std::function<void()> onExpiry_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::chrono::steady_clock::time_point deadline_;
  bool armed_ = false;
  bool stopping_ = false;
  std::atomic<bool> expired_{false};
  std::thread thread_;
};

}  // namespace kelvara::word::lo
