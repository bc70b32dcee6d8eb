#pragma once

#include <string>
#include <string_view>

namespace kelvara::platform {

// A file opened for appending (created when missing). Each append() is one write at the end of
// the file, so records appended by several threads or processes never interleave.
class AppendFile {
 public:
  explicit AppendFile(const std::string& path);
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  // False when the file is not open or the record was not written in full.
  bool append(std::string_view record);

 private:
  int fd_ = -1;
};

}  // namespace kelvara::platform
