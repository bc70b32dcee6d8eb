#include "app/help/HelpFolder.h"

#include <filesystem>
#include <system_error>

namespace kelvara::app {
namespace {

std::string withSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') {
    folder.push_back('/');
  }
  return folder;
}

bool isFolder(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

std::string ExpectedHelpFolder(const std::string& exeDir) {
  return withSlash(exeDir) + "Help/";
}

std::string HelpFolder(const std::string& exeDir) {
  if (exeDir.empty()) {
    return "";
  }
  for (const std::string& candidate :
       {ExpectedHelpFolder(exeDir), withSlash(exeDir) + "../share/kelvara/Help/"}) {
    if (isFolder(candidate)) {
      return withSlash(std::filesystem::path(candidate).lexically_normal().string());
    }
  }
  return "";
}

std::string FileUrl(const std::string& pathWithFragment) {
  static const char kHex[] = "0123456789ABCDEF";
  const size_t hash = pathWithFragment.find('#');
  const std::string path = pathWithFragment.substr(0, hash);
  std::string url = "file://";
  for (const unsigned char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url.push_back(static_cast<char>(c));
    } else {
      url.push_back('%');
      url.push_back(kHex[c >> 4]);
      url.push_back(kHex[c & 0x0F]);
    }
  }
  if (hash != std::string::npos) {
    url += pathWithFragment.substr(hash);
  }
  return url;
}

}  // namespace kelvara::app
