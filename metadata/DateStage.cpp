#include "metadata/MetadataStep.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

namespace kelvara::metadata {

using platform::FileTime;
using platform::FileTimeKind;

namespace {

constexpr const char* kBackup = "SeBackupPrivilege";
constexpr const char* kRestore = "SeRestorePrivilege";

}  // namespace

bool MetadataStep::IsTokenPrivilegeEnabled(const std::string& name) {
  return platform_.privilegeEnabled(name);
}

bool MetadataStep::EnableTokenPrivilege(const std::string& name) {
  return platform_.enablePrivilege(name);
}

FileTime MetadataStep::ReadCreationTime(const std::string& path) {
  int code = 0;
  const std::optional<FileTime> time = platform_.creationTime(path, &code);
  if (!time) {
    throw SourceUnreadable("System Error.  Code: " + std::to_string(code) + ". " +
                           platform::systemErrorText(code) + ": " + path);
  }
  return *time;
}

FileTime MetadataStep::ReadLastWriteTime(const std::string& path) {
  int code = 0;
  const std::optional<FileTime> time = platform_.lastWriteTime(path, &code);
  if (!time) {
    throw SourceUnreadable("System Error.  Code: " + std::to_string(code) + ". " +
                           platform::systemErrorText(code) + ": " + path);
  }
  return *time;
}

bool MetadataStep::IsAgeCoherent(const std::string& path) {
  const std::optional<FileTime> created = platform_.creationTime(path, nullptr);
  const std::optional<FileTime> written = platform_.lastWriteTime(path, nullptr);
  return created && written && *created <= *written;
}

bool MetadataStep::WriteFileTime(const std::string& path, FileTime time, FileTimeKind kind) {
  return platform::isRegularFile(path) && platform_.setFileTime(path, time, kind) == 0;
}

bool MetadataStep::WriteFolderTime(const std::string& path, FileTime time, FileTimeKind kind) {
  if (!platform::isDirectory(path) || !IsTokenPrivilegeEnabled(kBackup) ||
      !IsTokenPrivilegeEnabled(kRestore)) {
    return false;
  }
  if (platform_.setFileTime(path, time, kind) != 0) {
    return false;
  }
  if (kind == FileTimeKind::LastWrite) {
    folderTimes_.emplace_back(path, time);
  }
  return true;
}

void MetadataStep::RestoreFolderTimes() {
  for (const auto& [path, time] : folderTimes_) {
    platform_.setFileTime(path, time, FileTimeKind::LastWrite);
  }
  folderTimes_.clear();
}

std::string MetadataStep::userDate() const {
  return locale_.formatDateTime(settings_.NewFilesDate);
}

void MetadataStep::privilegeGateThenDates(const std::string& source, const std::string& target,
                                          bool folder) {
  const bool enabled = (IsTokenPrivilegeEnabled(kBackup) && IsTokenPrivilegeEnabled(kRestore)) ||
                       (EnableTokenPrivilege(kBackup) && EnableTokenPrivilege(kRestore));
  if (!enabled) {
    error(std::string(folder ? "Error on setting backup/restore privileges: folder time not "
                               "changed: "
                             : "Error on setting backup/restore privileges: file time not "
                               "changed: ") +
          settings_.OutPath);
    return;
  }
  if (folder) {
    CopyFolderDates(source, target);
  } else {
    CopyFileDates(source, target);
  }
}

void MetadataStep::CopyFileDates(const std::string& source, const std::string& target) {
  if (settings_.DateMode == 0) {
    if (!WriteFileTime(target, ReadCreationTime(source), FileTimeKind::Creation)) {
      error("Error on change of file time (Creation): " + target);
      return;
    }
    if (settings_.CopyBoth) {
      if (WriteFileTime(target, ReadLastWriteTime(source), FileTimeKind::LastWrite)) {
        dateLog("File Creation and LastWrite Date changed to original file's dates");
      } else {
        error("Error on change of file time (LastWrite): " + target);
      }
      return;
    }
    if (IsAgeCoherent(target)) {
      return;
    }
    if (settings_.UseLastWriteBoth) {
      if (!WriteFileTime(target, ReadLastWriteTime(source), FileTimeKind::Creation)) {
        error("Error on change of file time (Creation): " + target);
      } else if (WriteFileTime(target, ReadLastWriteTime(source), FileTimeKind::LastWrite)) {
        dateLog("File Creation and LastWrite Date changed to original file's LastWrite date");
      } else {
        error("Error on change of file time (LastWrite): " + target);
        dateLog("File Creation Date changed to original file's LastWrite date- Incoherent");
      }
    }
    if (settings_.UseCreationDate) {
      if (WriteFileTime(target, ReadCreationTime(source), FileTimeKind::LastWrite)) {
        dateLog("File LastWrite Date changed to original file's Creation date");
      } else {
        error("Error on change of file time (LastWrite): " + target);
      }
    }
  } else if (settings_.DateMode == 2) {
    const FileTime date = settings_.NewFilesDateUtc;
    if (!WriteFileTime(target, date, FileTimeKind::Creation)) {
      error("Error on setting file new time (Creation): " + target);
      return;
    }
    if (IsAgeCoherent(target)) {
      dateLog("File Creation Date changed to " + userDate() + " (user set)");
      return;
    }
    if (WriteFileTime(target, date, FileTimeKind::LastWrite)) {
      dateLog("File Creation and LastWrite Date changed to " + userDate() + " (user set)");
    } else {
      error("Error on setting file new time (LastWrite): " + target);
      dateLog("File Creation Date changed to " + userDate() + " (user set) - Incoherent");
    }
  }
}

void MetadataStep::CopyFolderDates(const std::string& source, const std::string& target) {
  if (settings_.DateMode == 0) {
    if (!EnableTokenPrivilege(kBackup) || !EnableTokenPrivilege(kRestore)) {
      error("Error on setting backup/restore privileges: folder time not changed: " + target);
      return;
    }
    if (!WriteFolderTime(target, ReadCreationTime(source), FileTimeKind::Creation)) {
      error("Error on change of folder time (Creation): " + target);
      return;
    }
    if (settings_.CopyBoth) {
      if (WriteFolderTime(target, ReadLastWriteTime(source), FileTimeKind::LastWrite)) {
        dateLog("Folder Creation and LastWrite Date changed to original folder' dates");
      } else {
        error("Error on change of folder time (LastWrite): " + target);
      }
      return;
    }
    if (IsAgeCoherent(target)) {
      dateLog("Folder Creation Date changed to original folder' Creation date)");
      return;
    }
    if (settings_.UseLastWriteBoth) {
      if (!WriteFolderTime(target, ReadLastWriteTime(source), FileTimeKind::Creation)) {
        error("Error on change of folder time (Creation): " + target);
      } else if (WriteFolderTime(target, ReadLastWriteTime(source), FileTimeKind::LastWrite)) {
        dateLog("Folder Creation and LastWrite Date changed to original folder's LastWrite date");
      } else {
        error("Error on change of folder time (LastWrite): " + target);
        dateLog("Folder Creation Date set to original folder's LastWrite date - Incoherent");
      }
    }
    if (settings_.UseCreationDate) {
      if (WriteFolderTime(target, ReadCreationTime(source), FileTimeKind::LastWrite)) {
        dateLog("Folder Creation and LastWrite Date changed to original folder's Creation date");
      } else {
        error("Error on change of folder time (LastWrite): " + target);
      }
    }
  } else if (settings_.DateMode == 2) {
    const FileTime date = settings_.NewFilesDateUtc;
    if (!WriteFolderTime(target, date, FileTimeKind::Creation)) {
      error("Error on setting folder new time (Creation): " + target);
      return;
    }
    if (IsAgeCoherent(target)) {
      dateLog("Folder Creation Date changed to " + userDate() + " (user set)");
      return;
    }
    if (WriteFolderTime(target, date, FileTimeKind::LastWrite)) {
      dateLog("Folder Creation and LastWrite Date changed to " + userDate() + " (user set)");
    } else {
      error("Error on change of folder time (LastWrite): " + target);
      dateLog("Folder Creation Date changed to " + userDate() + " (user set) - Incoherent");
    }
  }
}

}  // namespace kelvara::metadata
