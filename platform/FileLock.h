#pragma once

#include <string>

namespace kelvara::platform {

// An exclusive lock on a file (made when missing), held while the object lives. Other processes,
// and other threads of this one, wait for it. Without the file the lock is simply not held.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace kelvara::platform
