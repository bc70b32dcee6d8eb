#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::config {

// Marker for a format selection not given on the command line.
inline constexpr int32_t kFormatNotGiven = 99;

// Offices that may convert at once: one per core, up to this many.
inline constexpr int32_t kMaxEngines = 8;
int32_t DefaultEngines();

// Every option of the sections "Configuration Data", "Options", "User Data",
// "External Programs" and "Conversion Options" of Kelva.ini, one field per key under the key's
// name. Defaults are the file's defaults; the loader fills the record at start-up.
struct Settings {
  // "Configuration Data"
  std::string InpPath;
  std::string InpFileName;
  std::string OutPath;
  int32_t InpFormatIndex = kFormatNotGiven;
  int32_t OutFormatIndex = kFormatNotGiven;
  std::string InpMask = "*.*";

  // "Options"
  bool StandardInpMask = true;
  bool SingleFile = false;
  bool NewLogFile = false;
  bool OverwriteLogs = false;
  bool ExtConv = false;
  bool MinimizeToTray = true;
  bool ShowHint = true;
  bool Debug = false;
  bool ScanSubDir = true;
  bool ScanHFolders = false;
  bool ScanHFiles = false;
  bool OutDirTree = true;
  bool WordsCountCheck = true;
  bool LinesCountCheck = true;
  bool CharsCountCheck = true;
  bool DiffVertHorizPagParms = true;  // key "Diff.Vert/Horiz.Pag.Parms"
  bool RemoveEmptySections = true;
  bool RemoveCRAtEndOfSections = true;
  bool RemovePersonalInfo = true;
  bool AddPagesNumbers = true;
  bool AddOrigExtToFilNam = false;
  int32_t MeasurementUnits = 0;
  bool StopOnErrors = false;
  bool InsLineBreaks = false;
  bool AllowSubst = false;
  int32_t LineTerm = 0;
  bool NoConversion = false;  // written, never read at start-up
  bool Preprocess = false;    // written, never read at start-up
  // Engine supervision (this platform's additions).
  int32_t DocTimeout = 300;            // seconds a document may take; 0 = no limit
  int32_t EngineRecycle = 200;         // documents before the office is restarted; 0 = never
  int32_t Engines = DefaultEngines();  // offices converting at once, 1 to kMaxEngines

  // "User Data"
  std::string UserName;
  std::string UserInitials;
  std::string UserAddress;

  // "External Programs"
  std::string ExternalConverterProgram;
  std::string WordsCountProgram;
  std::string ProgCmdLine1 = "sfrm=WS7 in=";
  std::string ProgCmdLine2 = " dfrm=MSWW7 out=";
  std::string ProgCmdLine3 = "TEMPWPXX";
  std::string Prefix = "_%";
  bool KeepExtProgOut = false;
  int32_t WordDiffWrn = 30;
  int32_t LineDiffWrn = 20;
  int32_t CharDiffWrn = 100;

  // "Conversion Options"
  int32_t DateMode = 0;
  platform::DateTime NewFilesDate;
  platform::FileTime NewFilesDateUtc = 0;
  bool CopyBoth = true;
  bool TimeCheck = false;
  bool CopyFilesAttr = true;
  int32_t ReadOnlyAttrb = 2;
  int32_t HiddenAttrb = 2;
  int32_t ArchiveAttrb = 2;
  int32_t SystemAttrb = 2;
  bool IncludeFilesAttributes = true;
  int32_t IncludeReadOnly = 2;
  int32_t IncludeHidden = 2;
  int32_t IncludeArchive = 2;
  int32_t IncludeSystem = 2;
  bool CopyFilesOwner = true;
  bool CopyFilesGroup = true;
  bool CopyFilesDACL = true;
  bool CopyFilesSACL = true;
  bool CopyFoldersOwner = true;
  bool CopyFoldersGroup = true;
  bool CopyFoldersDACL = true;
  bool CopyFoldersSACL = true;
  bool FilesCopySecurityAll = true;
  bool FoldersCopySecurityAll = true;
  bool FileTakeOwnership = true;
  bool FolderTakeOwnership = true;
  // Off unless the file says 1: with FromDate and ToDate defaulting to today, a file without the
  // key (every new user's) would otherwise skip every document not created today.
  bool IncludeFileDate = false;
  bool UseCreationDate = true;
  bool UseLastWriteBoth = false;
  platform::DateTime FromDate;
  platform::DateTime ToDate;
  bool IncludeFilesAtLeastesAttr = false;
  int64_t FileMinSize = 0;
  int64_t FileMaxSize = 0;
  bool IncludeFilesNoLargerAttr = false;
  int32_t ByteKbyte1 = 0;
  int32_t ByteKbyte2 = 0;
  bool IncludeFilesNewerThen = false;
  int32_t NewerCnt = 0;
  int32_t NewerType = 0;
  bool IncludeOlderThen = false;
  int32_t OlderCnt = 0;
  bool NoVersionNum = false;
  bool AddVersNum = false;
  bool RenBeforeOverWr = false;
  std::string FileNamePrefix;
  std::string FileNameSuffix;
  bool LogErrors = true;
  bool LogRetries = true;
  bool LogCopies = true;
  bool LogDateChanges = true;
  bool LogFileRenames = true;
  bool LogFoldersOperation = true;
  bool LogSlippedFiles = true;
  bool LogWarnings = true;
  bool LogEstimates = true;
  bool LogDeletions = true;
  bool LogAttributesChange = true;
  bool LogSecurityChange = true;
  bool TrayShowHint = true;
  bool TrayIconEnabled = true;
  bool TrayLeftPopup = false;
  bool CloseToTray = false;
  bool TrayIconAlwaysOn = false;

  // Options without a key.
  int32_t OlderType = 0;
  bool TrayPopupMenu = false;
  bool FileSetEveryoneRWED = false;
  bool FolderSetEveryoneRWED = false;
};

}  // namespace kelvara::config
