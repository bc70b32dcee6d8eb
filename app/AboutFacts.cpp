#include "app/AboutFacts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace kelvara::app {
namespace {

std::string bytesText(uint64_t bytes) {
  char text[32];
  if (bytes >= (uint64_t{1} << 30)) {
    std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / (1u << 30));
  } else {
    std::snprintf(text, sizeof text, "%.0f MiB", static_cast<double>(bytes) / (1u << 20));
  }
  return text;
}

std::string orUnknown(const std::string& text) {
  return text.empty() ? "unknown" : text;
}

}  // namespace

std::string aboutVersionText(const std::string& dottedVersion) {
  const size_t last = dottedVersion.rfind('.');
  const size_t dots =
      static_cast<size_t>(std::count(dottedVersion.begin(), dottedVersion.end(), '.'));
  if (dots < 3 || last + 1 >= dottedVersion.size()) {
    return "Version " + dottedVersion;
  }
  return "Version " + dottedVersion.substr(0, last) + " (Build " + dottedVersion.substr(last + 1) +
         ")";
}

std::string engineVersionText(const std::string& productName) {
  std::string name = productName.empty() ? "LibreOffice" : productName;
  std::string version;
  const size_t blank = name.rfind(' ');
  if (blank != std::string::npos && blank + 1 < name.size() &&
      std::isdigit(static_cast<unsigned char>(name[blank + 1]))) {
    version = name.substr(blank + 1);
    name.erase(blank);
  }
  return name + " Version: " + orUnknown(version);
}

AboutFacts makeAboutFacts(const std::string& engineProductName,
                          const platform::SystemFacts& system) {
  AboutFacts facts;
  facts.version = aboutVersionText(KELVARA_VERSION);
  facts.engineVersion = engineVersionText(engineProductName);
  facts.osName = orUnknown(system.osName);
  facts.osVersion = orUnknown(system.osVersion);
  facts.processor = "Processor: " + orUnknown(system.processor);
  facts.freeDiskSpace =
      "Free Disk Space: " +
      (system.freeDiskSpace ? std::to_string(*system.freeDiskSpace) + " bytes on " + system.diskPath
                            : "unknown (" + system.diskPath + ")");

  std::string& info = facts.systemInfo;
  info += "Operating system: " + orUnknown(system.osName) + "\n";
  info += "Kernel: " + orUnknown(system.kernel) + "\n";
  info += "Processor: " + orUnknown(system.processor) + "\n";
  info += "Processors online: " +
          (system.cpuCount > 0 ? std::to_string(system.cpuCount) : std::string("unknown")) + "\n";
  info +=
      "Memory: " + (system.memoryTotal ? bytesText(*system.memoryTotal) + " installed" : "unknown");
  if (system.memoryAvailable) {
    info += ", " + bytesText(*system.memoryAvailable) + " available";
  }
  info += "\n";
  info += "Free disk space on " + system.diskPath + ": " +
          (system.freeDiskSpace ? bytesText(*system.freeDiskSpace) : "unknown") + "\n";
  info += "Document engine: " + (engineProductName.empty() ? "LibreOffice" : engineProductName);
  return facts;
}

AboutFacts collectAboutFacts(const std::string& engineProductName, const std::string& diskPath) {
  return makeAboutFacts(engineProductName, platform::readSystemFacts(diskPath));
}

}  // namespace kelvara::app
