#include "app/FreeDiskDisplay.h"

#include "platform/FileSystem.h"

namespace kelvara::app {
namespace {

// A folder that does not exist yet (the output folder is created when a run starts) is shown
// with the free space of its nearest existing parent.
std::string existingFolder(std::string path) {
  while (!path.empty() && !platform::isDirectory(path)) {
    if (path.back() == '/') {
      path.pop_back();
    }
    const size_t slash = path.rfind('/');
    path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  }
  return path;
}

}  // namespace

FreeDiskTexts FreeDiskTextsOf(std::optional<uint64_t> freeBytes, std::optional<uint64_t> size) {
  FreeDiskTexts texts;
  if (!freeBytes) {
    return texts;
  }
  texts.freeKb = std::to_string(*freeBytes / 1024) + " KB";
  if (size && *size > 0) {
    texts.freePercent = std::to_string(*freeBytes * 100 / *size) + " %";
  }
  return texts;
}

FreeDiskTexts FreeDiskFor(const std::string& outPath, const std::string& inpPath) {
  const std::string chosen = outPath.empty() ? inpPath : outPath;
  if (chosen.empty()) {
    return {};
  }
  const std::string folder = existingFolder(chosen);
  if (folder.empty()) {
    return {};
  }
  return FreeDiskTextsOf(platform::freeSpace(folder), platform::fileSystemSize(folder));
}

}  // namespace kelvara::app
