#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/DosAttributes.h"

namespace kelvara::platform {
namespace {

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/') {
    return dir + name;
  }
  return dir + "/" + name;
}

class DirHandle {
 public:
  explicit DirHandle(DIR* dir) : dir_(dir) {}
  ~DirHandle() {
    if (dir_) {
      ::closedir(dir_);
    }
  }
  DirHandle(const DirHandle&) = delete;
  DirHandle& operator=(const DirHandle&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

}  // namespace

bool exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

int createDirectory(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0 ? 0 : errno;
}

int createDirectories(const std::string& path) {
  if (path.empty()) {
    return ENOENT;
  }
  if (isDirectory(path)) {
    return 0;
  }
  // Every prefix that ends before a "/", then the whole path.
  for (size_t pos = path.find('/', 1);; pos = path.find('/', pos + 1)) {
    const std::string part = pos == std::string::npos ? path : path.substr(0, pos);
    if (!part.empty() && part.back() != '/' && ::mkdir(part.c_str(), 0777) != 0) {
      // A file in the way of a parent shows as ENOTDIR at the next level.
      const int code = errno;
      const bool last = pos == std::string::npos;
      if (code != EEXIST || (last && !isDirectory(part))) {
        return code;
      }
    }
    if (pos == std::string::npos) {
      break;
    }
  }
  return 0;
}

std::vector<DirEntry> listDirectory(const std::string& dir, int* error) {
  std::vector<DirEntry> entries;
  if (error) {
    *error = 0;
  }
  DirHandle handle(::opendir(dir.empty() ? "." : dir.c_str()));
  if (!handle.get()) {
    if (error) {
      *error = errno;
    }
    return entries;
  }
  const int fd = ::dirfd(handle.get());
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(handle.get());
    if (!item) {
      if (errno != 0 && error) {
        *error = errno;
      }
      break;
    }
    const std::string name = item->d_name;
    if (name == "." || name == "..") {
      continue;
    }
    struct stat st;
    if (::fstatat(fd, item->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    DirEntry entry;
    entry.name = name;
    if (S_ISDIR(st.st_mode)) {
      entry.isDirectory = true;
    } else if (S_ISREG(st.st_mode)) {
      entry.isFile = true;
      entry.size = static_cast<uint64_t>(st.st_size);
    } else if (S_ISLNK(st.st_mode)) {
      struct stat target;
      if (::fstatat(fd, item->d_name, &target, 0) == 0 && S_ISREG(target.st_mode)) {
        entry.isFile = true;
        entry.size = static_cast<uint64_t>(target.st_size);
      }
    }
    if (!entry.isDirectory && !entry.isFile) {
      // Devices, pipes, sockets, links to folders and dangling links are not documents.
      continue;
    }
    entry.isHidden = name.front() == '.';
    if (const auto dos = readDosAttrib(joinPath(dir, name)); dos && dos->attributes) {
      entry.isHidden = entry.isHidden || (*dos->attributes & kDosHidden) != 0;
      entry.isSystem = (*dos->attributes & kDosSystem) != 0;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

int64_t fileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return -1;
  }
  return static_cast<int64_t>(st.st_size);
}

int removeFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int renameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::optional<std::string> createUniqueFile(const std::string& folder, const std::string& prefix,
                                            int* error) {
  std::string name = joinPath(folder, prefix + "XXXXXX");
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    if (error) {
      *error = errno;
    }
    return std::nullopt;
  }
  ::close(fd);
  return name;
}

std::string currentDirectory() {
  std::string buffer(4096, '\0');
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) {
      return ".";
    }
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(buffer.find('\0'));
  return buffer;
}

std::optional<uint64_t> freeSpace(const std::string& path) {
  struct statvfs vfs;
  if (::statvfs(path.c_str(), &vfs) != 0) {
    return std::nullopt;
  }
  return static_cast<uint64_t>(vfs.f_bavail) * static_cast<uint64_t>(vfs.f_frsize);
}

std::optional<uint64_t> fileSystemSize(const std::string& path) {
  struct statvfs vfs;
  if (::statvfs(path.c_str(), &vfs) != 0) {
    return std::nullopt;
  }
  return static_cast<uint64_t>(vfs.f_blocks) * static_cast<uint64_t>(vfs.f_frsize);
}

}  // namespace kelvara::platform
