#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>

namespace kelvara::platform {
namespace {

std::error_code lastError() {
  return std::error_code(errno, std::generic_category());
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string resolveLinks(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) {
    return path;
  }
  const std::filesystem::path target = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

std::string uniqueSuffix() {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 gen{std::random_device{}()};
  return std::to_string(::getpid()) + "." + std::to_string(counter++) + "." +
         std::to_string(gen() % 1000000);
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::error_code& ec) {
  ec.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    ec = lastError();
    return std::nullopt;
  }
  std::string content;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      ec = lastError();
      return std::nullopt;
    }
    if (n == 0) {
      break;
    }
    content.append(buf, static_cast<size_t>(n));
  }
  return content;
}

std::error_code replaceFileAtomically(const std::string& path, std::string_view content) {
  const std::filesystem::path target = resolveLinks(path);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) {
    folder = ".";
  }

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;

  // The temporary name is hidden and unique; O_EXCL never reuses someone else's file.
  std::string tmp;
  int rawFd = -1;
  for (int attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
    tmp = (folder / ("." + target.filename().string() + "." + uniqueSuffix() + ".tmp")).string();
    rawFd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (rawFd < 0 && errno != EEXIST) {
      return lastError();
    }
  }
  if (rawFd < 0) {
    return std::make_error_code(std::errc::file_exists);
  }
  Fd fd(rawFd);

  auto fail = [&tmp](std::error_code ec) {
    ::unlink(tmp.c_str());
    return ec;
  };
  if (exists) {
    // Keep the owner's choice of permissions (and ownership where we may).
    if (::fchmod(fd.get(), old.st_mode & 07777) != 0) {
      return fail(lastError());
    }
    if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
      // Not permitted for ordinary users with a foreign group; the content matters more.
    }
  }
  if (!writeAll(fd.get(), content) || ::fsync(fd.get()) != 0) {
    return fail(lastError());
  }
  if (::close(fd.release()) != 0) {
    return fail(lastError());
  }
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    return fail(lastError());
  }
  // Make the rename itself durable.
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) {
    ::fsync(dir.get());
  }
  return {};
}

}  // namespace kelvara::platform
