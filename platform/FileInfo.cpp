#include "platform/FileInfo.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/DosAttributes.h"

namespace kelvara::platform {
namespace {

std::string lastName(const std::string& path) {
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') {
    trimmed.pop_back();
  }
  const auto slash = trimmed.find_last_of('/');
  return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

}  // namespace

std::optional<uint32_t> fileAttributes(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    return std::nullopt;
  }
  const bool folder = S_ISDIR(st.st_mode);
  uint32_t attributes = folder ? 0 : kDosArchive;
  if (const std::optional<DosAttrib> stored = readDosAttrib(path); stored && stored->attributes) {
    attributes = *stored->attributes;
  }
  attributes &= ~kDosDirectory;
  if (folder) {
    attributes |= kDosDirectory;
  }
  // Read-only is mirrored in the write bits when it is set, so both say it.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    attributes |= kDosReadOnly;
  }
  const std::string name = lastName(path);
  if (!name.empty() && name.front() == '.' && name != "." && name != "..") {
    attributes |= kDosHidden;
  }
  return attributes;
}

std::optional<FileTime> creationTime(const std::string& path) {
  struct statx sx;
  if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &sx) != 0) {
    return std::nullopt;
  }
  if (const std::optional<DosAttrib> stored = readDosAttrib(path); stored && stored->createTime) {
    return *stored->createTime;
  }
  if (sx.stx_mask & STATX_BTIME) {
    return unixToFileTime(static_cast<std::time_t>(sx.stx_btime.tv_sec), sx.stx_btime.tv_nsec);
  }
  return unixToFileTime(static_cast<std::time_t>(sx.stx_mtime.tv_sec), sx.stx_mtime.tv_nsec);
}

}  // namespace kelvara::platform
