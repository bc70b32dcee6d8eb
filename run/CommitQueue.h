#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <optional>
#include <string>

#include "word/ConversionPipeline.h"

namespace kelvara::run {

// What the run writes to its logs, index and counters, kept in walk order while conversions
// finish in any order. An entry is a folder event or a skipped file (ready at once), or a
// document whose outcome is still being converted.
class CommitQueue {
 public:
  using Commit = std::function<void(const word::ConversionOutcome*)>;

  // An entry with nothing to wait for; committed as soon as every earlier one is.
  void push(Commit commit) { entries_.push_back({std::nullopt, std::move(commit), label_}); }
  // A document: committed with its outcome once that is ready and every earlier entry is.
  void push(std::shared_future<word::ConversionOutcome> outcome, Commit commit) {
    entries_.push_back({std::move(outcome), std::move(commit), label_});
  }

  // Entries pushed from now on carry this label (where in the walk they belong).
  void setLabel(std::string label) { label_ = std::move(label); }
  // Called with an entry's label before (committed false) and after (true) its commit.
  using Observer = std::function<void(const std::string& label, bool committed)>;
  void setObserver(Observer observer) { observer_ = std::move(observer); }

  size_t size() const { return entries_.size(); }
  size_t documentsInFlight() const;

  // Commits the entries at the head that are ready; never waits.
  void commitReady();
  // Commits the head entry, waiting for its outcome; idle is called while it waits.
  void commitHead(const std::function<void()>& idle);
  // Commits every entry, waiting as needed.
  void commitAll(const std::function<void()>& idle);

 private:
  struct Entry {
    std::optional<std::shared_future<word::ConversionOutcome>> outcome;
    Commit commit;
    std::string label;
  };
  static bool ready(const Entry& entry);
  void commitFront();

  std::deque<Entry> entries_;
  std::string label_;
  Observer observer_;
};

}  // namespace kelvara::run
