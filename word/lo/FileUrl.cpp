#include "word/lo/FileUrl.h"

#include <filesystem>

namespace kelvara::word::lo {

std::string fileUrlFromPath(const std::string& path) {
  std::error_code ec;
  std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
  if (ec) {
    absolute = path;
  }
  static const char* kHex = "0123456789ABCDEF";
  std::string url = "file://";
  url.reserve(url.size() + absolute.size() * 3);
  for (unsigned char c : absolute) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (alnum || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

}  // namespace kelvara::word::lo
