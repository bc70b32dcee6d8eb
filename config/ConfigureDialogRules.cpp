#include "config/ConfigureDialogRules.h"

#include <array>

namespace kelvara::config {

std::string ConfigureHelpTopic(int outerTab, int innerTab) {
  static constexpr std::array<const char*, 4> kOuter = {"program", nullptr, "external", "userdata"};
  static constexpr std::array<const char*, 7> kInner = {
      "general", "dates", "attributes", "security", "filters", "version", "log"};
  const std::string page = "Configuration.html";
  if (outerTab < 0 || outerTab >= static_cast<int>(kOuter.size())) {
    return page;
  }
  if (outerTab == static_cast<int>(ConfigureTab::ConversionOptions)) {
    if (innerTab < 0 || innerTab >= static_cast<int>(kInner.size())) {
      return page + "#conversion";
    }
    return page + "#" + kInner[static_cast<size_t>(innerTab)];
  }
  return page + "#" + kOuter[static_cast<size_t>(outerTab)];
}

LampStates LampsFromSettings(const Settings& s) {
  LampStates lamps;
  lamps.date = s.DateMode != 1;
  lamps.attrib = !s.CopyFilesAttr;
  lamps.perm = s.CopyFilesOwner || s.CopyFilesGroup || s.CopyFilesDACL || s.CopyFilesSACL ||
               s.CopyFoldersOwner || s.CopyFoldersGroup || s.CopyFoldersDACL || s.CopyFoldersSACL ||
               s.FilesCopySecurityAll || s.FoldersCopySecurityAll || s.FileTakeOwnership ||
               s.FolderTakeOwnership;
  return lamps;
}

void PrepareConfigureOpening(Settings& settings) {
  settings.NoVersionNum = true;
}

}  // namespace kelvara::config
