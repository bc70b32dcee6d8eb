#include "run/OwnOutputs.h"

#include <cctype>

namespace kelvara::run {
namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool isDigits(const std::string& text) {
  if (text.empty()) {
    return false;
  }
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool OutputTreeInsideInput(const FolderLayout& layout) {
  return layout.outPath.size() > layout.inpPath.size() &&
         startsWith(layout.outPath, layout.inpPath);
}

bool InsideNestedOutputTree(const FolderLayout& layout, const std::string& folder) {
  return OutputTreeInsideInput(layout) && startsWith(folder, layout.outPath);
}

bool IsRunLogFile(const FolderLayout& layout, const std::string& folder, const std::string& name) {
  if (layout.logDir.empty() || folder != layout.logDir) {
    return false;
  }
  if (name == "Index.html") {
    return true;
  }
  for (const char* prefix : {"ConvLog", "ErrorLog", "WarnsLog", "SkipsLog"}) {
    if (!startsWith(name, prefix)) {
      continue;
    }
    const std::string rest = name.substr(std::string(prefix).size());
    if (rest == ".txt") {
      return true;
    }
    // Numbered logs: "_" and three or more digits.
    if (rest.size() > 5 && rest[0] == '_' && rest.compare(rest.size() - 4, 4, ".txt") == 0 &&
        isDigits(rest.substr(1, rest.size() - 5))) {
      return true;
    }
  }
  return false;
}

bool IsOwnOutput(const FolderLayout& layout, const std::string& folder, const std::string& name) {
  if (InsideNestedOutputTree(layout, folder) || IsRunLogFile(layout, folder, name)) {
    return true;
  }
  // The logs and records of shards, and the logs their merge writes, whichever run walks.
  if (layout.outPath.empty()) {
    return false;
  }
  const std::string logRoot = layout.outPath + "Log/";
  return startsWith(folder, logRoot + "shards/") ||
         IsRunLogFile(FolderLayout{layout.inpPath, layout.outPath, logRoot}, folder, name);
}

}  // namespace kelvara::run
