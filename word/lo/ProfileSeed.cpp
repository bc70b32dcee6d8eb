#include "word/lo/ProfileSeed.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Paths.h"

namespace kelvara::word::lo {
namespace {

std::string item(const std::string& path, const std::string& name, const std::string& type,
                 const std::string& value) {
  return "<item oor:path=\"" + path + "\"><prop oor:name=\"" + name + "\" oor:op=\"fuse\"" +
         (type.empty() ? std::string() : " oor:type=\"" + type + "\"") + "><value>" + value +
         "</value></prop></item>\n";
}

}  // namespace

std::string officeProductVersion(const std::string& programDir) {
  std::ifstream in(programDir + "/bootstraprc");
  std::string line;
  const std::string key = "ProductKey=";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) {
      // "LibreOffice 7.4": the version is the last word.
      const std::string value = line.substr(key.size());
      const auto blank = value.find_last_of(' ');
      return blank == std::string::npos ? value : value.substr(blank + 1);
    }
  }
  return {};
}

std::string profileRegistryModifications(const std::string& productVersion) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
      "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
  if (!productVersion.empty()) {
    xml += item("/org.openoffice.Setup/Product", "ooSetupLastVersion", "xs:string", productVersion);
  }
  xml += item("/org.openoffice.Setup/Office", "ooSetupInstCompleted", "xs:boolean", "true");
  xml += item("/org.openoffice.Office.Common/Misc", "FirstRun", "xs:boolean", "false");
  xml += item("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "xs:boolean", "false");
  // Documents are opened read-only and never edited in place: lock files would only litter the
  // users' folders.
  xml += item("/org.openoffice.Office.Common/Misc", "UseLocking", "xs:boolean", "false");
  xml += item("/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "xs:boolean",
              "false");
  xml +=
      item("/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "xs:boolean", "false");
  xml +=
      item("/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "xs:int", "3");
  xml += item("/org.openoffice.Office.Common/Security/Scripting", "DisableMacrosExecution",
              "xs:boolean", "true");
  xml += item("/org.openoffice.Office.Recovery/AutoSave", "Enabled", "xs:boolean", "false");
  xml += item("/org.openoffice.Office.Recovery/RecoveryInfo", "Enabled", "xs:boolean", "false");
  xml += item("/org.openoffice.Office.Common/Save/Document", "CreateBackup", "xs:boolean", "false");
  xml +=
      item("/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "xs:boolean", "false");
  xml +=
      item("/org.openoffice.Office.Linguistic/SpellChecking", "IsSpellAuto", "xs:boolean", "false");
  xml += "</oor:items>\n";
  return xml;
}

bool seedProfile(const std::string& profileDir, const std::string& productVersion) {
  const std::string userDir = profileDir + "/user";
  const std::string file = userDir + "/registrymodifications.xcu";
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    return true;
  }
  if (!platform::ensureDir(profileDir) || !platform::ensureDir(userDir)) {
    return false;
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << profileRegistryModifications(productVersion);
  return static_cast<bool>(out);
}

}  // namespace kelvara::word::lo
