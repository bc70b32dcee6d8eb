#include <acl/libacl.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/capability.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/DosAttributes.h"
#include "platform/FileInfo.h"
#include "platform/MetadataPlatform.h"

namespace kelvara::platform {
namespace {

constexpr int64_t kEpochDifference = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;
constexpr long kNtfs3Magic = 0x7366746e;
constexpr const char* kNtfsCrtimeXattr = "system.ntfs_crtime";

// Folder paths of a run end with "/"; the entry is the folder itself.
std::string entryPath(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') {
    p.pop_back();
  }
  return p;
}

// The NTFS drivers keep the attributes and the creation time themselves.
bool onNtfs(const std::string& path) {
  uint32_t value = 0;
  if (::getxattr(path.c_str(), kNtfsAttribXattr, &value, sizeof value) == ssize_t(sizeof value)) {
    return true;
  }
  struct statfs fs;
  return ::statfs(path.c_str(), &fs) == 0 && static_cast<long>(fs.f_type) == kNtfs3Magic;
}

std::optional<DosAttrib> storedDosAttrib(const std::string& path) {
  char buffer[1024];
  const ssize_t n = ::getxattr(path.c_str(), kDosAttribXattr, buffer, sizeof buffer);
  if (n <= 0) {
    return std::nullopt;
  }
  return parseDosAttrib(std::string_view(buffer, size_t(n)));
}

int writeDosAttrib(const std::string& path, uint32_t attributes,
                   std::optional<FileTime> createTime) {
  const std::string value = encodeDosAttribV5(attributes, createTime);
  return ::setxattr(path.c_str(), kDosAttribXattr, value.data(), value.size(), 0) == 0 ? 0 : errno;
}

std::string aclText(acl_t acl) {
  char* text = acl_to_any_text(acl, nullptr, ',', TEXT_NUMERIC_IDS | TEXT_ABBREVIATE);
  std::string result = text ? text : "";
  acl_free(text);
  return result;
}

cap_value_t capabilityValue(Capability capability) {
  switch (capability) {
    case Capability::Chown:
      return CAP_CHOWN;
    case Capability::BypassPermissions:
      return CAP_DAC_OVERRIDE;
  }
  return CAP_CHOWN;
}

class SystemMetadata : public MetadataPlatform {
 public:
  std::optional<FileTime> creationTime(const std::string& path, int* error) override {
    const std::string p = entryPath(path);
    std::optional<FileTime> time = platform::creationTime(p);
    if (!time && error) {
      *error = errno;
    }
    return time;
  }

  std::optional<FileTime> lastWriteTime(const std::string& path, int* error) override {
    struct stat st;
    if (::stat(entryPath(path).c_str(), &st) != 0) {
      if (error) {
        *error = errno;
      }
      return std::nullopt;
    }
    return unixToFileTime(static_cast<std::time_t>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec);
  }

  int setFileTime(const std::string& path, FileTime time, FileTimeKind kind) override {
    const std::string p = entryPath(path);
    if (kind == FileTimeKind::Creation) {
      return setCreationTime(p, time);
    }
    const UnixTime t = fileTimeToUnix(time);
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(t.seconds);
    times[0].tv_nsec = times[1].tv_nsec = t.nanoseconds;
    // Only the time asked for changes.
    times[kind == FileTimeKind::LastWrite ? 0 : 1].tv_nsec = UTIME_OMIT;
    return ::utimensat(AT_FDCWD, p.c_str(), times, 0) == 0 ? 0 : errno;
  }

  std::optional<uint32_t> attributes(const std::string& path) override {
    return fileAttributes(entryPath(path));
  }

  int setAttributes(const std::string& path, uint32_t attributes) override {
    const std::string p = entryPath(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) {
      return errno;
    }
    attributes &= ~kDosDirectory;
    if (S_ISDIR(st.st_mode)) {
      attributes |= kDosDirectory;
    }
    if (onNtfs(p)) {
      return ::setxattr(p.c_str(), kNtfsAttribXattr, &attributes, sizeof attributes, 0) == 0
                 ? 0
                 : errno;
    }
    const std::optional<DosAttrib> stored = storedDosAttrib(p);
    return writeDosAttrib(p, attributes, stored ? stored->createTime : std::nullopt);
  }

  int mirrorReadOnly(const std::string& path, bool readOnly) override {
    const std::string p = entryPath(path);
    struct stat st;
    if (::stat(p.c_str(), &st) != 0) {
      return errno;
    }
    const mode_t mode = st.st_mode & 07777;
    const mode_t wanted =
        readOnly ? mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH) : mode | mode_t(S_IWUSR);
    if (wanted == mode) {
      return 0;
    }
    return ::chmod(p.c_str(), wanted) == 0 ? 0 : errno;
  }

  bool supportsSecurity(const std::string& path) override {
    std::string p = entryPath(path);
    struct stat st;
    while (::stat(p.c_str(), &st) != 0) {
      const auto slash = p.find_last_of('/');
      if (slash == std::string::npos || p == "/") {
        return false;
      }
      p = slash == 0 ? "/" : p.substr(0, slash);
    }
    if (::getxattr(p.c_str(), "system.posix_acl_access", nullptr, 0) >= 0 || errno == ENODATA) {
      return true;
    }
    return onNtfs(p);
  }

  int ownership(const std::string& path, FileOwnership& out) override {
    struct stat st;
    if (::stat(entryPath(path).c_str(), &st) != 0) {
      return errno;
    }
    out.uid = st.st_uid;
    out.gid = st.st_gid;
    return 0;
  }

  int setOwnership(const std::string& path, std::optional<uint32_t> uid,
                   std::optional<uint32_t> gid) override {
    const uid_t u = uid ? static_cast<uid_t>(*uid) : static_cast<uid_t>(-1);
    const gid_t g = gid ? static_cast<gid_t>(*gid) : static_cast<gid_t>(-1);
    return ::chown(entryPath(path).c_str(), u, g) == 0 ? 0 : errno;
  }

  int acl(const std::string& path, AclKind kind, std::string& text) override {
    acl_t acl = acl_get_file(entryPath(path).c_str(),
                             kind == AclKind::Access ? ACL_TYPE_ACCESS : ACL_TYPE_DEFAULT);
    if (acl == nullptr) {
      return errno;
    }
    text = aclText(acl);
    acl_free(acl);
    return 0;
  }

  int setAcl(const std::string& path, AclKind kind, const std::string& text) override {
    const std::string p = entryPath(path);
    if (kind == AclKind::Default && text.empty()) {
      return acl_delete_def_file(p.c_str()) == 0 ? 0 : errno;
    }
    acl_t acl = acl_from_text(text.c_str());
    if (acl == nullptr) {
      return EINVAL;
    }
    const int rc =
        acl_set_file(p.c_str(), kind == AclKind::Access ? ACL_TYPE_ACCESS : ACL_TYPE_DEFAULT, acl);
    const int code = rc == 0 ? 0 : errno;
    acl_free(acl);
    return code;
  }

  bool privilegeEnabled(const std::string& /*name*/) override { return true; }
  bool enablePrivilege(const std::string& /*name*/) override { return true; }

  bool capabilityEffective(Capability capability) override {
    return flag(capability, CAP_EFFECTIVE);
  }

  bool raiseCapability(Capability capability) override {
    if (capabilityEffective(capability)) {
      return true;
    }
    if (!flag(capability, CAP_PERMITTED)) {
      return false;
    }
    cap_t caps = cap_get_proc();
    if (caps == nullptr) {
      return false;
    }
    const cap_value_t value = capabilityValue(capability);
    const bool ok =
        cap_set_flag(caps, CAP_EFFECTIVE, 1, &value, CAP_SET) == 0 && cap_set_proc(caps) == 0;
    cap_free(caps);
    return ok;
  }

 private:
  static bool flag(Capability capability, cap_flag_t set) {
    cap_t caps = cap_get_proc();
    if (caps == nullptr) {
      return false;
    }
    cap_flag_value_t value = CAP_CLEAR;
    const bool ok = cap_get_flag(caps, capabilityValue(capability), set, &value) == 0;
    cap_free(caps);
    return ok && value == CAP_SET;
  }

  static int setCreationTime(const std::string& path, FileTime time) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      return errno;
    }
    if (onNtfs(path)) {
      const uint64_t value = static_cast<uint64_t>(time);
      return ::setxattr(path.c_str(), kNtfsCrtimeXattr, &value, sizeof value, 0) == 0 ? 0 : errno;
    }
    // The stored attributes stay; without any, those a file or folder has by default are stored
    // with the time, so that what the entry shows does not change.
    const std::optional<DosAttrib> stored = storedDosAttrib(path);
    const uint32_t attributes = stored && stored->attributes ? *stored->attributes
                                : S_ISDIR(st.st_mode)        ? kDosDirectory
                                                             : kDosArchive;
    return writeDosAttrib(path, attributes, time);
  }
};

}  // namespace

UnixTime fileTimeToUnix(FileTime time) {
  int64_t seconds = time / kTicksPerSecond;
  int64_t rest = time % kTicksPerSecond;
  if (rest < 0) {
    --seconds;
    rest += kTicksPerSecond;
  }
  return UnixTime{seconds - kEpochDifference, static_cast<long>(rest * 100)};
}

MetadataPlatform& systemMetadata() {
  static SystemMetadata instance;
  return instance;
}

}  // namespace kelvara::platform
