#include "word/lo/Watchdog.h"

namespace kelvara::word::lo {

Watchdog::Watchdog(std::function<void()> onExpiry) : onExpiry_(std::move(onExpiry)) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) {
    thread_.join();
  }
}

void Watchdog::arm(std::chrono::milliseconds limit) {
  std::lock_guard<std::mutex> lock(mutex_);
  expired_ = false;
  armed_ = limit.count() > 0;
  if (!armed_) {
    return;
  }
  deadline_ = std::chrono::steady_clock::now() + limit;
  if (!thread_.joinable()) {
    thread_ = std::thread([this] { run(); });
  }
  wake_.notify_all();
}

void Watchdog::disarm() {
  std::lock_guard<std::mutex> lock(mutex_);
  armed_ = false;
  wake_.notify_all();
}

void Watchdog::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (!armed_) {
      wake_.wait(lock);
      continue;
    }
    if (wake_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
        std::chrono::steady_clock::now() >= deadline_) {
      armed_ = false;
      expired_ = true;
      // The callback runs under the lock so that a concurrent disarm() cannot return while the
      // office is being killed for a document that was already over.
      onExpiry_();
    }
  }
}

}  // namespace kelvara::word::lo
