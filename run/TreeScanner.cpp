#include "run/TreeScanner.h"

#include <algorithm>
#include <vector>

#include "platform/FileSystem.h"
#include "run/CaseFold.h"

namespace kelvara::run {
namespace {

struct Found {
  std::u32string key;  // folded name, for the case-insensitive order
  std::string name;
  uint64_t size = 0;
};

// Case-insensitive order; names equal but for case (distinct files here) keep a fixed order.
void sortByName(std::vector<Found>& list) {
  std::sort(list.begin(), list.end(), [](const Found& a, const Found& b) {
    return a.key != b.key ? a.key < b.key : a.name < b.name;
  });
}

std::string withTrailingSlash(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/' && dir[dir.size() - 2] == '/') {
    dir.pop_back();
  }
  if (dir.empty() || dir.back() != '/') {
    dir.push_back('/');
  }
  return dir;
}

}  // namespace

int32_t ScannerFileSize(uint64_t size) {
  if ((size >> 32) != 0) {
    return 2147483647;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(size));
}

void TreeScanner::setFileMask(const std::string& mask) {
  if (!searchInProgress_) {
    masks_.setSingle(mask);
  }
}

void TreeScanner::setFileMaskCommaText(std::string_view text) {
  if (!searchInProgress_) {
    masks_.setCommaText(text);
  }
}

void TreeScanner::Stop() {
  active_ = false;
  Recursive = false;
}

void TreeScanner::raise(const Event& event) {
  if (event) {
    event(*this);
  }
}

void TreeScanner::Search() {
  searchInProgress_ = true;
  fileFound_.clear();
  fileSize_ = 0;
  if (InitialDirectory.empty()) {
    InitialDirectory = platform::currentDirectory();
  }
  InitialDirectory = withTrailingSlash(InitialDirectory);
  active_ = true;
  try {
    scanFolder(InitialDirectory);
  } catch (...) {
    // A handler of the root folder failed; the walk still ends in order.
  }
  fileSize_ = 0;
  searchInProgress_ = false;
  raise(OnSearchDone);
}

void TreeScanner::scanFolder(const std::string& dir) {
  if (ProcessPendingMessages) {
    ProcessPendingMessages();
  }
  if (!active_) {
    return;
  }
  fileSize_ = 0;
  fileFound_ = dir;
  raise(OnDirectoryFound);

  // Both lists are complete before the first event, so files the handlers create in this
  // folder do not join the walk.
  const bool listFolders = Recursive;
  std::vector<Found> folders;
  std::vector<Found> files;
  for (platform::DirEntry& entry : platform::listDirectory(dir)) {
    if (entry.isDirectory) {
      if (listFolders && !entry.isSystem && (!entry.isHidden || FindHiddenFolders)) {
        folders.push_back({foldedCodePoints(entry.name), std::move(entry.name), 0});
      }
    } else if (entry.isFile && (!entry.isHidden || FindHiddenFiles) &&
               masks_.matchesAny(entry.name)) {
      files.push_back({foldedCodePoints(entry.name), std::move(entry.name), entry.size});
    }
  }
  sortByName(folders);
  sortByName(files);

  for (const Found& file : files) {
    if (!active_) {
      break;
    }
    fileFound_ = dir + file.name;
    fileSize_ = ScannerFileSize(file.size);
    try {
      raise(OnFileFound);
    } catch (...) {
      // One file's failure does not end the walk.
    }
  }
  fileSize_ = 0;

  if (active_) {
    for (const Found& folder : folders) {
      if (!active_) {
        break;
      }
      const std::string path = dir + folder.name + "/";
      try {
        if (Recursive) {
          scanFolder(path);
        } else {
          fileFound_ = path;
          raise(OnDirectoryFound);
        }
      } catch (...) {
        // One folder's failure does not end the walk.
      }
    }
  }
  raise(OnDirectoryDone);
}

}  // namespace kelvara::run
