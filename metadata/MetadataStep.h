#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/Settings.h"
#include "metadata/Indicators.h"
#include "platform/Locale.h"
#include "platform/MetadataPlatform.h"

namespace kelvara::metadata {

// Where the metadata step's lines and signals go; any member may be left empty.
struct MetadataReport {
  std::function<void(std::string_view)> logLine;    // main log
  std::function<void(std::string_view)> dateLine;   // main log, date lines
  std::function<void(std::string_view)> errorLine;  // error log
  std::function<void(const std::string&)> message;  // a plain message box
  std::function<void(Indicator, LedColor, bool off)> indicator;
};

enum class SecurityPart { Owner = 0, Group = 1, DACL = 2, SACL = 3, All = 4 };

// The attribute word of an entry that cannot be read.
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

// Gives a converted document or a folder the run created the attributes, dates and security of
// its source (or those the options choose), in that order, reporting each change and failure
// through the run's logs. Failures are lines, not exceptions; only a source whose entry cannot
// be read ends the step, and the caller is told why.
class MetadataStep {
 public:
  MetadataStep(const config::Settings& settings, platform::MetadataPlatform& platform,
               platform::Locale locale, MetadataReport report);

  // Nullopt when the step ran to its end, else the reason it stopped (the message of a failed
  // conversion).
  std::optional<std::string> CopyFileMetadata(const std::string& source, const std::string& target);
  std::optional<std::string> CopyFolderMetadata(const std::string& source,
                                                const std::string& target);

  // Whether the input and output paths keep security (ACLs), with a message box for each side
  // that does not while a security option is on. The security stage runs only when both do.
  void CheckNtfsDrives();
  bool sourceIsNtfs() const { return sourceIsNtfs_; }
  // Whether an output whose metadata has been written (read-only, another owner, a copied ACL)
  // can still be replaced and given new metadata by this process.
  bool outputsStayWritable() {
    return platform_.capabilityEffective(platform::Capability::BypassPermissions);
  }
  bool targetIsNtfs() const { return targetIsNtfs_; }
  bool IsNtfsPath(const std::string& path);

  // Writing documents into a folder moves its last-write time; this gives every folder the run
  // dated the last-write time it was given, once nothing more is written into them.
  void RestoreFolderTimes();

  // The stages, each as the step runs it. ApplyAttributes stores the attributes and tells
  // whether the output is to be read-only once the other stages are done (nullopt: nothing was
  // set). The date stages throw SourceUnreadable.
  std::optional<bool> ApplyAttributes(const std::string& source, const std::string& target);
  void CopyFileDates(const std::string& source, const std::string& target);
  void CopyFolderDates(const std::string& source, const std::string& target);

  void CopySecurity(const std::string& source, const std::string& target, bool folder);
  bool CopySecurityPart(const std::string& source, const std::string& target, SecurityPart part,
                        bool folder);
  bool TakeOwnershipOfPath(const std::string& path, bool folder);
  bool GrantEveryoneRWED(const std::string& path, bool folder);

  struct SourceUnreadable : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

 private:
  uint32_t sourceAttributes(const std::string& path);
  bool anySecurityOption() const;
  void securityGateThenCopy(const std::string& source, const std::string& target, bool folder);
  void securityLine(const std::string& text);
  bool SetTokenPrivilege(bool enable);
  void showMessage(const std::string& text) const;
  void indicate(Indicator which, LedColor color, bool off) const;
  void finishReadOnly(const std::string& target, std::optional<bool> readOnly, bool folder);
  // The stages in their order; the read-only state reaches the permissions last.
  void runStages(const std::string& source, const std::string& target, bool folder);
  void privilegeGateThenDates(const std::string& source, const std::string& target, bool folder);
  platform::FileTime ReadCreationTime(const std::string& path);
  platform::FileTime ReadLastWriteTime(const std::string& path);
  bool IsAgeCoherent(const std::string& path);
  bool WriteFileTime(const std::string& path, platform::FileTime time, platform::FileTimeKind kind);
  bool WriteFolderTime(const std::string& path, platform::FileTime time,
                       platform::FileTimeKind kind);
  bool EnableTokenPrivilege(const std::string& name);
  bool IsTokenPrivilegeEnabled(const std::string& name);
  std::string userDate() const;

  void log(std::string_view text) const;
  void dateLog(std::string_view text) const;
  void error(std::string_view text) const;

  const config::Settings& settings_;
  platform::MetadataPlatform& platform_;
  platform::Locale locale_;
  MetadataReport report_;
  std::vector<std::pair<std::string, platform::FileTime>> folderTimes_;
  bool sourceIsNtfs_ = false;
  bool targetIsNtfs_ = false;
};

}  // namespace kelvara::metadata
