#pragma once

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelvara::testing {

// A temporary folder removed with everything in it (also unreadable subfolders).
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvara-run-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::abort();
    }
    root_ = pattern + "/";
  }
  ~ScratchDir() {
    restorePermissions(root_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The folder, ending with "/".
  const std::string& path() const { return root_; }
  std::string operator/(const std::string& rel) const { return root_ + rel; }

  std::string file(const std::string& rel, const std::string& content = "x") const {
    const std::string p = root_ + rel;
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  // Older spellings used by some tests.
  std::string write(const std::string& rel, const std::string& content = "x") const {
    return file(rel, content);
  }
  std::string mkdir(const std::string& rel) const { return dir(rel); }

  std::string dir(const std::string& rel) const {
    const std::string p = root_ + rel;
    std::filesystem::create_directories(p);
    return p.back() == '/' ? p : p + "/";
  }

 private:
  static void restorePermissions(const std::string& dir) {
    ::chmod(dir.c_str(), 0700);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
      if (entry.is_directory(ec) && !entry.is_symlink(ec)) {
        restorePermissions(entry.path().string());
      }
    }
  }

  std::string root_;
};

// True when the file system accepted the value; tests that need DOS attributes skip otherwise.
inline bool trySetXattr(const std::string& path, const std::string& name,
                        const std::string& value) {
  return ::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string ReadFile(const std::string& path) {
  return readFile(path);
}

}  // namespace kelvara::testing
