#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::platform {

// One entry of a folder listing ("." and ".." are never listed).
struct DirEntry {
  std::string name;
  // A real folder; a symbolic link to a folder is neither a folder nor a file here, so that a
  // walk never follows it (no cycles, no escape from the tree).
  bool isDirectory = false;
  // A regular file, or a symbolic link to one.
  bool isFile = false;
  // The name starts with "." or the stored DOS attributes have the hidden bit.
  bool isHidden = false;
  // The stored DOS attributes have the system bit.
  bool isSystem = false;
  uint64_t size = 0;  // files only (the link target's size for a link)
};

// Anything at all exists under this name (a dangling symbolic link counts).
bool exists(const std::string& path);
// A folder, or a symbolic link to one.
bool isDirectory(const std::string& path);
// A regular file, or a symbolic link to one.
bool isRegularFile(const std::string& path);
// Both names lead to the same existing file.
bool sameFile(const std::string& a, const std::string& b);

// Creates one folder; 0 on success, else the errno (EEXIST when the name is taken).
int createDirectory(const std::string& path);
// Creates the folder and every missing parent; 0 on success or when it already is a folder.
int createDirectories(const std::string& path);

// The entries of a folder in the order the system gives them. A folder that cannot be read
// gives no entries; *error (when given) then holds the errno, else 0.
std::vector<DirEntry> listDirectory(const std::string& dir, int* error = nullptr);

// Size in bytes (symbolic links followed); -1 when it cannot be read.
int64_t fileSize(const std::string& path);
// 0 on success, else the errno.
int removeFile(const std::string& path);
int renameFile(const std::string& from, const std::string& to);

// Creates a new empty file with a unique name (prefix + six characters) in the folder, readable
// only by this user; its path, or nullopt with the errno in *error.
std::optional<std::string> createUniqueFile(const std::string& folder, const std::string& prefix,
                                            int* error = nullptr);

// The process's current folder, without a trailing "/" (except for the root itself).
std::string currentDirectory();
// Bytes available to this user on the file system holding the path.
std::optional<uint64_t> freeSpace(const std::string& path);
// Size in bytes of the file system holding the path.
std::optional<uint64_t> fileSystemSize(const std::string& path);

}  // namespace kelvara::platform
