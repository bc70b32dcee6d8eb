#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/MetadataPlatform.h"

namespace kelvara::testing {

// Metadata kept in memory per path, with failures on demand, so that each rule of the metadata
// step can be driven to every branch. Paths are taken as given, a final "/" dropped.
class FakeMetadataPlatform : public platform::MetadataPlatform {
 public:
  struct Entry {
    platform::FileTime creation = 0;
    platform::FileTime lastWrite = 0;
    uint32_t attributes = 0x20;
    bool readOnlyBits = false;
    platform::FileOwnership owner;
    std::string acl = "user::rw-,group::r--,other::r--";
    std::string defaultAcl;
  };

  std::map<std::string, Entry> entries;
  // "path|what" pairs that fail with EACCES: what is creation, lastWrite, attributes, owner,
  // acl, defaultAcl, readOwner, readAcl.
  std::set<std::string> failures;
  std::set<std::string> privilegesHeld = {"SeBackupPrivilege", "SeRestorePrivilege",
                                          "SeSecurityPrivilege", "SeTakeOwnershipPrivilege"};
  std::set<std::string> privilegesEnabled = privilegesHeld;
  bool chownEffective = true;
  bool bypassEffective = false;
  bool chownPermitted = true;
  bool security = true;
  // Every change, in order: "path what value".
  std::vector<std::string> writes;
  // Unknown paths get a new entry instead of failing (for runs over whole trees).
  bool lenient = false;
  // Called before each change with the path changed.
  std::function<void(const std::string&)> onChange;

  Entry& at(const std::string& path) { return entries[key(path)]; }

  std::optional<platform::FileTime> creationTime(const std::string& path, int* error) override {
    return read(path, error, &Entry::creation);
  }
  std::optional<platform::FileTime> lastWriteTime(const std::string& path, int* error) override {
    return read(path, error, &Entry::lastWrite);
  }
  int setFileTime(const std::string& path, platform::FileTime time,
                  platform::FileTimeKind kind) override {
    const bool creation = kind == platform::FileTimeKind::Creation;
    if (int rc = check(path, creation ? "creation" : "lastWrite")) {
      return rc;
    }
    (creation ? at(path).creation : at(path).lastWrite) = time;
    writes.push_back(key(path) + (creation ? " creation " : " lastWrite ") + std::to_string(time));
    return 0;
  }
  std::optional<uint32_t> attributes(const std::string& path) override {
    auto it = entries.find(key(path));
    if (it == entries.end()) {
      return std::nullopt;
    }
    return it->second.attributes | (it->second.readOnlyBits ? 0x01u : 0u);
  }
  int setAttributes(const std::string& path, uint32_t value) override {
    if (int rc = check(path, "attributes")) {
      return rc;
    }
    at(path).attributes = value;
    writes.push_back(key(path) + " attributes " + std::to_string(value));
    return 0;
  }
  int mirrorReadOnly(const std::string& path, bool readOnly) override {
    if (int rc = check(path, "mode")) {
      return rc;
    }
    at(path).readOnlyBits = readOnly;
    writes.push_back(key(path) + " readOnly " + (readOnly ? "1" : "0"));
    return 0;
  }
  bool supportsSecurity(const std::string&) override { return security; }
  int ownership(const std::string& path, platform::FileOwnership& out) override {
    if (int rc = check(path, "readOwner")) {
      return rc;
    }
    out = at(path).owner;
    return 0;
  }
  int setOwnership(const std::string& path, std::optional<uint32_t> uid,
                   std::optional<uint32_t> gid) override {
    if (int rc = check(path, "owner")) {
      return rc;
    }
    if (uid) {
      at(path).owner.uid = *uid;
    }
    if (gid) {
      at(path).owner.gid = *gid;
    }
    writes.push_back(key(path) + " owner " + (uid ? std::to_string(*uid) : "-") + ":" +
                     (gid ? std::to_string(*gid) : "-"));
    return 0;
  }
  int acl(const std::string& path, platform::AclKind kind, std::string& text) override {
    if (int rc = check(path, "readAcl")) {
      return rc;
    }
    text = kind == platform::AclKind::Access ? at(path).acl : at(path).defaultAcl;
    return 0;
  }
  int setAcl(const std::string& path, platform::AclKind kind, const std::string& text) override {
    const bool access = kind == platform::AclKind::Access;
    if (int rc = check(path, access ? "acl" : "defaultAcl")) {
      return rc;
    }
    (access ? at(path).acl : at(path).defaultAcl) = text;
    writes.push_back(key(path) + (access ? " acl " : " defaultAcl ") + text);
    return 0;
  }
  bool privilegeEnabled(const std::string& name) override {
    return privilegesEnabled.count(name) > 0;
  }
  bool enablePrivilege(const std::string& name) override {
    if (privilegesHeld.count(name) == 0) {
      return false;
    }
    privilegesEnabled.insert(name);
    return true;
  }
  bool capabilityEffective(platform::Capability capability) override {
    return capability == platform::Capability::Chown ? chownEffective : bypassEffective;
  }
  bool raiseCapability(platform::Capability) override {
    chownEffective = chownEffective || chownPermitted;
    return chownEffective;
  }

 private:
  static std::string key(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
      path.pop_back();
    }
    return path;
  }
  int check(const std::string& path, const std::string& what) {
    if (lenient) {
      entries[key(path)];
    }
    if (entries.count(key(path)) == 0) {
      return ENOENT;
    }
    if (onChange && what != "readOwner" && what != "readAcl") {
      onChange(key(path));
    }
    return failures.count(key(path) + "|" + what) ? EACCES : 0;
  }
  std::optional<platform::FileTime> read(const std::string& path, int* error,
                                         platform::FileTime Entry::*field) {
    if (lenient) {
      entries[key(path)];
    }
    auto it = entries.find(key(path));
    if (it == entries.end()) {
      if (error) {
        *error = ENOENT;
      }
      return std::nullopt;
    }
    return it->second.*field;
  }
};

}  // namespace kelvara::testing
