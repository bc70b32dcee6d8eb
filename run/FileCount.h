#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "run/OwnOutputs.h"
#include "run/TreeScanner.h"

namespace kelvara::run {

// Counts, on a thread of its own, the files a walk with the same settings will hand to the run,
// so that progress can show a total without delaying the first conversions.
class BackgroundFileCount {
 public:
  struct Walk {
    std::string root;
    std::string maskCommaText;
    bool recursive = true;
    bool hiddenFiles = false;
    bool hiddenFolders = false;
    FolderLayout layout;  // the run's own outputs are not counted
    // Files it rejects are not counted (another shard's); empty: every file.
    std::function<bool(const std::string&)> accepts;
  };

  explicit BackgroundFileCount(Walk walk);
  // Stops the count if it is still running.
  ~BackgroundFileCount();
  BackgroundFileCount(const BackgroundFileCount&) = delete;
  BackgroundFileCount& operator=(const BackgroundFileCount&) = delete;

  // The total once the count has finished; nullopt before.
  std::optional<int> total() const;

 private:
  TreeScanner scanner_;
  FolderLayout layout_;
  std::function<bool(const std::string&)> accepts_;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> count_{0};
  std::thread thread_;
};

}  // namespace kelvara::run
