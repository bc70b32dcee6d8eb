#include "metadata/MetadataStep.h"
#include "platform/SystemError.h"

namespace kelvara::metadata {

using platform::AclKind;

namespace {

constexpr const char* kTakeOwnership = "SeTakeOwnershipPrivilege";
constexpr const char* kSecurity = "SeSecurityPrivilege";
// Administrators stand for root: uid and gid 0.
constexpr uint32_t kAdministrators = 0;

struct PartTexts {
  const char* getError;
  bool redOnGetError;
  const char* setError;
};

PartTexts textsOf(SecurityPart part) {
  switch (part) {
    case SecurityPart::Owner:
      return {"Error in Getting Security Info: ", true, "Error in Setting Security Info: "};
    case SecurityPart::Group:
      return {"Error in Gettting Security Info: ", true, "Error in Setting Security Info: "};
    case SecurityPart::DACL:
      return {"Error in Getting Security Info: ", false, "Error in Settting Security Info: "};
    case SecurityPart::SACL:
      return {"Error in Gettting Security Info: ", true, "Error in Settting Security Info: "};
    case SecurityPart::All:
      break;
  }
  return {"Error in Getting Security Info: ", false, "Error in Setting Security Info: "};
}

// The ACL with the entry of "other" (Everyone) given these permissions.
std::string withOther(const std::string& acl, const std::string& perms) {
  std::string result;
  size_t start = 0;
  bool found = false;
  while (start <= acl.size()) {
    size_t end = acl.find(',', start);
    if (end == std::string::npos) {
      end = acl.size();
    }
    std::string entry = acl.substr(start, end - start);
    if (entry.rfind("other:", 0) == 0 || entry.rfind("o:", 0) == 0) {
      entry = "other::" + perms;
      found = true;
    }
    if (!entry.empty()) {
      result += (result.empty() ? "" : ",") + entry;
    }
    start = end + 1;
  }
  if (!found) {
    result += (result.empty() ? "" : ",") + std::string("other::") + perms;
  }
  return result;
}

}  // namespace

bool MetadataStep::anySecurityOption() const {
  const config::Settings& s = settings_;
  return s.CopyFilesOwner || s.CopyFilesGroup || s.CopyFilesDACL || s.CopyFilesSACL ||
         s.CopyFoldersOwner || s.CopyFoldersGroup || s.CopyFoldersDACL || s.CopyFoldersSACL ||
         s.FilesCopySecurityAll || s.FoldersCopySecurityAll || s.FileTakeOwnership ||
         s.FolderTakeOwnership || s.FileSetEveryoneRWED || s.FolderSetEveryoneRWED;
}

bool MetadataStep::IsNtfsPath(const std::string& path) {
  return !path.empty() && platform_.supportsSecurity(path);
}

void MetadataStep::CheckNtfsDrives() {
  sourceIsNtfs_ = IsNtfsPath(settings_.InpPath);
  if (!settings_.InpPath.empty() && !sourceIsNtfs_ && anySecurityOption()) {
    showMessage("Warning! Source drive is not NTFS so the authorizations can't be copied.");
  }
  targetIsNtfs_ = IsNtfsPath(settings_.OutPath);
  if (!settings_.OutPath.empty() && !targetIsNtfs_) {
    indicate(Indicator::Perm, LedColor::Green, true);
    if (anySecurityOption()) {
      showMessage("Warning! destination drive is not NTFS so the authorizations can't be set.");
    }
  }
}

void MetadataStep::securityGateThenCopy(const std::string& source, const std::string& target,
                                        bool folder) {
  if (!sourceIsNtfs_ || !targetIsNtfs_) {
    return;
  }
  const bool enabled =
      (IsTokenPrivilegeEnabled(kTakeOwnership) && IsTokenPrivilegeEnabled(kSecurity)) ||
      (EnableTokenPrivilege(kSecurity) && EnableTokenPrivilege(kTakeOwnership));
  if (!enabled) {
    error("Error on setting TakeOwnership/Security privileges: privileges not copied: " +
          settings_.OutPath);
    return;
  }
  CopySecurity(source, target, folder);
}

void MetadataStep::securityLine(const std::string& text) {
  log(text);
  indicate(Indicator::Perm, LedColor::Green, false);
}

void MetadataStep::CopySecurity(const std::string& source, const std::string& target, bool folder) {
  const config::Settings& s = settings_;
  const bool logSecurity = s.LogSecurityChange;
  const bool logFolder = logSecurity && (!folder || s.LogFoldersOperation);
  const std::string kind = folder ? "Folder" : "File";
  if (folder ? s.FoldersCopySecurityAll : s.FilesCopySecurityAll) {
    if (CopySecurityPart(source, target, SecurityPart::All, folder) && logFolder) {
      securityLine(kind + " Security data Copied");
    }
  } else {
    const struct {
      bool on;
      SecurityPart part;
      const char* line;
    } parts[] = {
        {folder ? s.CopyFoldersOwner : s.CopyFilesOwner, SecurityPart::Owner, "Owner Copied"},
        {folder ? s.CopyFoldersGroup : s.CopyFilesGroup, SecurityPart::Group, "Group Copied"},
        {folder ? s.CopyFoldersDACL : s.CopyFilesDACL, SecurityPart::DACL, "DACL Copied"},
        {folder ? s.CopyFoldersSACL : s.CopyFilesSACL, SecurityPart::SACL, "SACL Copied"},
    };
    for (const auto& p : parts) {
      if (p.on && CopySecurityPart(source, target, p.part, folder) && logSecurity) {
        securityLine(p.line);
      }
    }
  }
  if ((folder ? s.FolderTakeOwnership : s.FileTakeOwnership) &&
      TakeOwnershipOfPath(target, folder) && logFolder) {
    securityLine(kind + " Ownership taken");
  }
  if ((folder ? s.FolderSetEveryoneRWED : s.FileSetEveryoneRWED) &&
      GrantEveryoneRWED(target, folder) && logFolder) {
    securityLine(kind + " Everyone RWED access set");
  }
}

bool MetadataStep::CopySecurityPart(const std::string& source, const std::string& target,
                                    SecurityPart part, bool folder) {
  const PartTexts texts = textsOf(part);
  const auto getFailed = [&](int code) {
    error(texts.getError + platform::systemErrorText(code));
    if (texts.redOnGetError) {
      indicate(Indicator::Perm, LedColor::Red, false);
    }
    return false;
  };
  const auto setFailed = [&](int code) {
    error(texts.setError + platform::systemErrorText(code));
    indicate(Indicator::Perm, LedColor::Red, false);
    return false;
  };

  // The query: ownership always (it also tells whether the source can be read), the ACLs when
  // the part holds them. A folder's DACL is its access ACL and the default ACL it hands on.
  platform::FileOwnership owner;
  if (const int code = platform_.ownership(source, owner)) {
    return getFailed(code);
  }
  const bool acls = part == SecurityPart::DACL || part == SecurityPart::All;
  std::string access, inherited;
  if (acls) {
    if (const int code = platform_.acl(source, AclKind::Access, access)) {
      return getFailed(code);
    }
    if (folder) {
      if (const int code = platform_.acl(source, AclKind::Default, inherited)) {
        return getFailed(code);
      }
    }
  }

  int code = 0;
  switch (part) {
    case SecurityPart::Owner:
      code = platform_.setOwnership(target, owner.uid, std::nullopt);
      break;
    case SecurityPart::Group:
      code = platform_.setOwnership(target, std::nullopt, owner.gid);
      break;
    case SecurityPart::SACL:
      // Linux keeps no audit list: there is nothing valid to write.
      break;
    case SecurityPart::All:
      code = platform_.setOwnership(target, owner.uid, owner.gid);
      [[fallthrough]];
    case SecurityPart::DACL:
      if (code == 0) {
        code = platform_.setAcl(target, AclKind::Access, access);
      }
      if (code == 0 && folder) {
        code = platform_.setAcl(target, AclKind::Default, inherited);
      }
      break;
  }
  return code == 0 || setFailed(code);
}

bool MetadataStep::SetTokenPrivilege(bool enable) {
  // Taking ownership needs chown beyond one's own files; a privilege the process does not hold
  // cannot be enabled. Disabling leaves the capability as it is, as privileges stay enabled.
  if (!enable) {
    return true;
  }
  if (!platform_.raiseCapability(platform::Capability::Chown)) {
    showMessage("The token does not have the specified privilege.");
    return false;
  }
  return true;
}

bool MetadataStep::TakeOwnershipOfPath(const std::string& path, bool folder) {
  // Everyone reads; Administrators (root's group) have full control, as has the owner: taking
  // ownership makes the owner an administrator, and the run goes on writing into its folders.
  const std::string acl = folder ? "user::rwx,group::r-x,group:0:rwx,mask::rwx,other::r-x"
                                 : "user::rw-,group::r--,group:0:rw-,mask::rw-,other::r--";
  const int first = platform_.setAcl(path, AclKind::Access, acl);
  if (first == 0) {
    log("Successfully changed DACL");
    return true;
  }
  if (first != EPERM && first != EACCES) {
    error("First SetNamedSecurityInfo call failed: " + platform::systemErrorText(first));
    return false;
  }
  if (!SetTokenPrivilege(true)) {
    error("You must be logged on as Administrator.");
    return false;
  }
  if (const int code = platform_.setOwnership(path, kAdministrators, std::nullopt)) {
    error("Could not set owner. Error: " + platform::systemErrorText(code));
    return false;
  }
  if (!SetTokenPrivilege(false)) {
    error("Failed SetPrivilege call unexpectedly.");
    return false;
  }
  if (const int code = platform_.setAcl(path, AclKind::Access, acl)) {
    error("Second SetNamedSecurityInfo call failed: " + platform::systemErrorText(code));
    return false;
  }
  log("Successfully changed DACL");
  return true;
}

bool MetadataStep::GrantEveryoneRWED(const std::string& path, bool folder) {
  // Everyone is "other"; read, write, execute and delete are rwx. A folder also hands the
  // entry on to what is made in it, through its default ACL.
  std::string access;
  if (platform_.acl(path, AclKind::Access, access) != 0 || access.empty()) {
    return false;
  }
  if (platform_.setAcl(path, AclKind::Access, withOther(access, "rwx")) != 0) {
    return false;
  }
  if (!folder) {
    return true;
  }
  std::string inherited;
  if (platform_.acl(path, AclKind::Default, inherited) != 0) {
    return false;
  }
  return platform_.setAcl(path, AclKind::Default,
                          withOther(inherited.empty() ? access : inherited, "rwx")) == 0;
}

}  // namespace kelvara::metadata
