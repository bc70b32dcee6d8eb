#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "run/FileMask.h"

namespace kelvara::run {

// Walks a folder tree depth first and reports, through its events, every folder it enters,
// every file that matches one of its masks, every folder it has finished and the end of the walk.
// All files of a folder come before its subfolders; both in case-insensitive name order.
// Symbolic links to folders are not followed; a link to a file counts as a file.
class TreeScanner {
 public:
  using Event = std::function<void(TreeScanner&)>;

  // A matching file was found: FileFound() and FileSize() describe it.
  Event OnFileFound;
  // A folder is entered: FileFound() holds its path (ending with "/").
  Event OnDirectoryFound;
  Event OnDirectoryDone;
  // The walk has ended; raised exactly once per Search().
  Event OnSearchDone;
  // Called at the start of every folder: where the owner lets its user commands act.
  std::function<void()> ProcessPendingMessages;

  // Root of the walk; empty means the current folder.
  std::string InitialDirectory;
  // Enter subfolders. Atomic because Stop() may come from another thread.
  std::atomic<bool> Recursive{true};
  // Report files, and enter folders, that are hidden (dot names or the DOS hidden attribute).
  // Folders with the DOS system attribute are never entered.
  bool FindHiddenFiles = false;
  bool FindHiddenFolders = false;

  // The first mask, or empty; writing replaces the list by this one mask.
  std::string fileMask() const { return masks_.first(); }
  void setFileMask(const std::string& mask);
  // The mask list as comma text; writing replaces the list.
  std::string fileMaskCommaText() const { return masks_.commaText(); }
  void setFileMaskCommaText(std::string_view text);
  const MaskList& masks() const { return masks_; }

  // Full path of the current file, or of the folder during OnDirectoryFound.
  const std::string& FileFound() const { return fileFound_; }
  // Size of the current file: its low 32 bits, or 2147483647 from 4 GiB up; 0 outside
  // OnFileFound.
  int32_t FileSize() const { return fileSize_; }
  bool SearchInProgress() const { return searchInProgress_; }
  // True while the walk may go on.
  bool Active() const { return active_; }
  void setActive(bool active) { active_ = active; }

  // Walks the tree; returns when the walk has ended and OnSearchDone has been raised.
  void Search();
  // Ends the walk after the running handler: no further file or folder is reported, the open
  // folders raise OnDirectoryDone, then OnSearchDone follows.
  void Stop();

 private:
  void scanFolder(const std::string& dir);
  void raise(const Event& event);

  MaskList masks_;
  std::string fileFound_;
  int32_t fileSize_ = 0;
  std::atomic<bool> searchInProgress_{false};
  std::atomic<bool> active_{false};
};

// The 32-bit size a scanner reports for a file of this many bytes.
int32_t ScannerFileSize(uint64_t size);

}  // namespace kelvara::run
