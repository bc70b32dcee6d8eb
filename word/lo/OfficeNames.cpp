#include "word/lo/OfficeNames.h"

#include "platform/Process.h"
#include "word/OfficeOwners.h"
#include "word/lo/StaleOffices.h"

namespace kelvara::word::lo {
namespace {

std::string sanitizedName(const std::string& name) {
  std::string out;
  for (char c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
    out += keep ? c : '_';
  }
  return out;
}

}  // namespace

OfficeNames officeNames(const std::string& stateDir, const std::string& instanceName) {
  OfficeNames names;
  const std::string pid = std::to_string(platform::currentProcessId());
  names.instance = sanitizedName(instanceName.empty() ? "kelvara-" + pid : instanceName);
  if (names.instance.find("kelvara") == std::string::npos) {
    names.instance = "kelvara-" + names.instance;
  }
  // The run's own offices ("kelvara-<pid>", and "kelvara-<pid>-<k>" of a pool) carry this
  // process's pid: their profiles and pipes are this process's alone.
  names.ownsProfile = profileOwner("office-" + names.instance) == platform::currentProcessId();
  // Two runs with the same instance name must not meet on one pipe.
  names.pipe = names.ownsProfile ? names.instance : names.instance + "-" + pid;
  names.profileDir = profileRoot(stateDir) + names.instance;
  return names;
}

}  // namespace kelvara::word::lo
