#include "run/ConversionPool.h"

namespace kelvara::run {

ConversionPool::ConversionPool(std::vector<word::DocumentEngine*> engines)
    : engines_(std::move(engines)) {
  if (engines_.size() > 1) {
    for (word::DocumentEngine* engine : engines_) {
      workers_.emplace_back([this, engine] { serve(*engine); });
    }
  }
}

ConversionPool::~ConversionPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  ready_.notify_all();
  for (std::thread& worker : workers_) {
    worker.join();
  }
}

std::future<word::ConversionOutcome> ConversionPool::submit(Work work) {
  std::packaged_task<word::ConversionOutcome(word::DocumentEngine&)> task(std::move(work));
  std::future<word::ConversionOutcome> result = task.get_future();
  if (!threaded()) {
    task(*engines_.front());
    return result;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(std::move(task));
  }
  ready_.notify_one();
  return result;
}

void ConversionPool::serve(word::DocumentEngine& engine) {
  for (;;) {
    std::packaged_task<word::ConversionOutcome(word::DocumentEngine&)> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return closing_ || !queue_.empty(); });
      if (queue_.empty()) {
        return;  // closing, and nothing left to convert
      }
      task = std::move(queue_.front());
      queue_.pop_front();
    }
    task(engine);
  }
}

}  // namespace kelvara::run
