#pragma once

#include <string>

namespace kelvara::platform {

// An exclusive lock on a file (made when missing), held while the object lives. Other processes,
// and other threads of this one, wait for it. Without the file the lock is simply not held.
class FileLock {
 public:
  explicit FileLock(const std::string& path);
  // Without waiting: when another holds the lock, held() is false and busy() true.
  enum class Wait { No };
  FileLock(const std::string& path, Wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return fd_ >= 0; }
  bool busy() const { return busy_; }

 private:
  void lock(const std::string& path, int operation);

  int fd_ = -1;
  bool busy_ = false;
};

}  // namespace kelvara::platform
