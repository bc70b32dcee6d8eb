#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::platform {

// The DOS attribute word of a file or folder (symbolic links followed), as a Windows or Samba
// user would see it: the stored user.DOSATTRIB (or the NTFS driver's) bits, with the directory
// bit from the file type, read-only also when nobody may write the file, and hidden also for a
// name that starts with ".". Without stored attributes a file is archived and a folder is not.
// Nullopt when the file cannot be reached.
std::optional<uint32_t> fileAttributes(const std::string& path);

// When the file was created: the creation time stored in user.DOSATTRIB, else the file
// system's birth time, else the last-write time. Nullopt when the file cannot be reached.
std::optional<FileTime> creationTime(const std::string& path);

}  // namespace kelvara::platform
