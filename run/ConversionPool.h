#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "word/ConversionPipeline.h"
#include "word/DocumentEngine.h"

namespace kelvara::run {

// Converts documents on several engines at once, one worker thread per engine. With a single
// engine there is no thread: the conversion runs on the caller's thread when it is submitted,
// so a one-engine run is the plain sequential run.
class ConversionPool {
 public:
  using Work = std::function<word::ConversionOutcome(word::DocumentEngine&)>;

  explicit ConversionPool(std::vector<word::DocumentEngine*> engines);
  // Lets the conversions under way finish, then ends the workers.
  ~ConversionPool();
  ConversionPool(const ConversionPool&) = delete;
  ConversionPool& operator=(const ConversionPool&) = delete;

  size_t size() const { return engines_.size(); }
  bool threaded() const { return !workers_.empty(); }
  // Queues one conversion for the next free engine; the future holds its outcome. Work never
  // throws: a conversion's failures are part of its outcome.
  std::future<word::ConversionOutcome> submit(Work work);

 private:
  void serve(word::DocumentEngine& engine);

  std::vector<word::DocumentEngine*> engines_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::packaged_task<word::ConversionOutcome(word::DocumentEngine&)>> queue_;
  bool closing_ = false;
};

}  // namespace kelvara::run
