#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::platform {

// Which of a path's three times a write addresses.
enum class FileTimeKind { LastAccess = 0, LastWrite = 1, Creation = 2 };

// The access ACL of a file or folder, or the default ACL that a folder hands to new entries.
enum class AclKind { Access, Default };

// Capabilities that stand in for the privileges of metadata work.
// Chown: give files away. BypassPermissions: read and write whatever the permissions say.
enum class Capability { Chown, BypassPermissions };

struct FileOwnership {
  uint32_t uid = 0;
  uint32_t gid = 0;
};

// What the metadata step asks of the operating system: times, DOS attributes, ownership, ACLs
// and capabilities. Paths name the file or folder itself (symbolic links followed); results are
// 0 or an errno. ACLs travel as text in the short form with numeric ids
// ("user::rw-,user:1000:r--,group::r--,mask::r--,other::r--"); an empty default ACL means none.
class MetadataPlatform {
 public:
  virtual ~MetadataPlatform() = default;

  // Times; nullopt with the errno in *error when the entry cannot be read.
  virtual std::optional<FileTime> creationTime(const std::string& path, int* error) = 0;
  virtual std::optional<FileTime> lastWriteTime(const std::string& path, int* error) = 0;
  virtual int setFileTime(const std::string& path, FileTime time, FileTimeKind kind) = 0;

  // The DOS attribute word as a Samba client sees it; nullopt when the entry cannot be read.
  virtual std::optional<uint32_t> attributes(const std::string& path) = 0;
  // Stores the attribute word (keeping a stored creation time); the permission bits stay.
  virtual int setAttributes(const std::string& path, uint32_t attributes) = 0;
  // Read-only in the permission bits: set clears every write bit, clear gives the owner one.
  virtual int mirrorReadOnly(const std::string& path, bool readOnly) = 0;

  // The file system holding the path (or its nearest existing folder) keeps ACLs.
  virtual bool supportsSecurity(const std::string& path) = 0;
  virtual int ownership(const std::string& path, FileOwnership& out) = 0;
  // Changes the owner, the group or both (nullopt leaves one as it is).
  virtual int setOwnership(const std::string& path, std::optional<uint32_t> uid,
                           std::optional<uint32_t> gid) = 0;
  virtual int acl(const std::string& path, AclKind kind, std::string& text) = 0;
  // An empty text for the default ACL removes it.
  virtual int setAcl(const std::string& path, AclKind kind, const std::string& text) = 0;

  // The privilege tests of the metadata step; a platform without such privileges says yes.
  virtual bool privilegeEnabled(const std::string& name) = 0;
  virtual bool enablePrivilege(const std::string& name) = 0;
  // Whether the capability is effective; raising moves it from the permitted set to the
  // effective one and fails when the process does not hold it.
  virtual bool capabilityEffective(Capability capability) = 0;
  virtual bool raiseCapability(Capability capability) = 0;
};

// The real operating system.
MetadataPlatform& systemMetadata();

// Conversions between file times and the system's seconds and nanoseconds.
struct UnixTime {
  int64_t seconds = 0;
  long nanoseconds = 0;
};
UnixTime fileTimeToUnix(FileTime time);

}  // namespace kelvara::platform
