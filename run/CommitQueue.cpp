#include "run/CommitQueue.h"

namespace kelvara::run {

size_t CommitQueue::documentsInFlight() const {
  size_t n = 0;
  for (const Entry& entry : entries_) {
    n += entry.outcome.has_value() ? 1 : 0;
  }
  return n;
}

bool CommitQueue::ready(const Entry& entry) {
  return !entry.outcome ||
         entry.outcome->wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void CommitQueue::commitFront() {
  // Taken off first: a commit may push new entries (never re-entered for the same one).
  Entry entry = std::move(entries_.front());
  entries_.pop_front();
  if (observer_) {
    observer_(entry.label, false);
  }
  if (entry.outcome) {
    entry.commit(&entry.outcome->get());
  } else {
    entry.commit(nullptr);
  }
  if (observer_) {
    observer_(entry.label, true);
  }
}

void CommitQueue::commitReady() {
  while (!entries_.empty() && ready(entries_.front())) {
    commitFront();
  }
}

void CommitQueue::commitHead(const std::function<void()>& idle) {
  if (entries_.empty()) {
    return;
  }
  Entry& head = entries_.front();
  while (head.outcome &&
         head.outcome->wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
    if (idle) {
      idle();
    }
  }
  commitFront();
}

void CommitQueue::commitAll(const std::function<void()>& idle) {
  while (!entries_.empty()) {
    commitHead(idle);
  }
}

}  // namespace kelvara::run
