#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace kelvara::platform {

// DOS attribute bits as Windows and Samba number them.
inline constexpr uint32_t kDosReadOnly = 0x01;
inline constexpr uint32_t kDosHidden = 0x02;
inline constexpr uint32_t kDosSystem = 0x04;
inline constexpr uint32_t kDosDirectory = 0x10;
inline constexpr uint32_t kDosArchive = 0x20;

// The extended attribute in which Samba keeps a file's DOS attributes and creation time.
inline constexpr const char* kDosAttribXattr = "user.DOSATTRIB";
// The attribute the NTFS drivers (ntfs-3g, ntfs3) expose, a native-endian 32-bit value.
inline constexpr const char* kNtfsAttribXattr = "system.ntfs_attrib";

// What a stored DOSATTRIB value says; each part only when the value marks it valid.
struct DosAttrib {
  std::optional<uint32_t> attributes;
  std::optional<FileTime> createTime;
};

// Decodes a user.DOSATTRIB value: the legacy hex text ("0x20", with or without a terminating
// NUL) and the NDR-encoded versions 1 to 5. nullopt when the value is malformed.
std::optional<DosAttrib> parseDosAttrib(std::string_view blob);

// The version-5 encoding current Samba writes (24 bytes). Without a creation time the
// create-time field is zero and not marked valid.
std::string encodeDosAttribV5(uint32_t attributes, std::optional<FileTime> createTime);

// The stored attributes of a file or folder (symbolic links followed): user.DOSATTRIB, else the
// NTFS driver's attribute. nullopt when neither is stored or readable.
std::optional<DosAttrib> readDosAttrib(const std::string& path);

}  // namespace kelvara::platform
