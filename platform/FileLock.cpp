#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace kelvara::platform {

FileLock::FileLock(const std::string& path) {
  lock(path, LOCK_EX);
}

FileLock::FileLock(const std::string& path, Wait) {
  lock(path, LOCK_EX | LOCK_NB);
}

void FileLock::lock(const std::string& path, int operation) {
  // Each object opens the file anew: locks of separate opens exclude each other, also between
  // threads of one process.
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) {
    return;
  }
  int rc;
  do {
    rc = ::flock(fd_, operation);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    busy_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) {
    ::close(fd_);  // releases the lock
  }
}

}  // namespace kelvara::platform
