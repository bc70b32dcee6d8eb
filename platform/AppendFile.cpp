#include "platform/AppendFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace kelvara::platform {

AppendFile::AppendFile(const std::string& path) {
  // Close-on-exec: the offices we start must not hold the file open.
  do {
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  } while (fd_ < 0 && errno == EINTR);
}

AppendFile::~AppendFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

bool AppendFile::append(std::string_view record) {
  if (fd_ < 0) {
    return false;
  }
  ssize_t written;
  do {
    written = ::write(fd_, record.data(), record.size());
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(record.size());
}

}  // namespace kelvara::platform
