#include "run/FileCount.h"

namespace kelvara::run {

BackgroundFileCount::BackgroundFileCount(Walk walk)
    : layout_(std::move(walk.layout)), accepts_(std::move(walk.accepts)) {
  scanner_.InitialDirectory = walk.root;
  scanner_.setFileMaskCommaText(walk.maskCommaText);
  scanner_.Recursive = walk.recursive;
  scanner_.FindHiddenFiles = walk.hiddenFiles;
  scanner_.FindHiddenFolders = walk.hiddenFolders;
  scanner_.ProcessPendingMessages = [this] {
    if (cancelled_) {
      scanner_.Stop();
    }
  };
  scanner_.OnFileFound = [this](TreeScanner& s) {
    const std::string& path = s.FileFound();
    const size_t slash = path.rfind('/');
    if (!IsOwnOutput(layout_, path.substr(0, slash + 1), path.substr(slash + 1)) &&
        (!accepts_ || accepts_(path))) {
      ++count_;
    }
  };
  scanner_.OnSearchDone = [this](TreeScanner&) { finished_ = !cancelled_; };
  thread_ = std::thread([this] { scanner_.Search(); });
}

BackgroundFileCount::~BackgroundFileCount() {
  cancelled_ = true;
  thread_.join();
}

std::optional<int> BackgroundFileCount::total() const {
  if (!finished_) {
    return std::nullopt;
  }
  return count_.load();
}

}  // namespace kelvara::run
