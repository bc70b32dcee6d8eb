#pragma once

#include <string>

#include "platform/SystemFacts.h"

namespace kelvara::app {

// The texts of the about box, made before it opens so that the box itself asks nobody.
struct AboutFacts {
  std::string version;        // "Version 1.0.2 (Build 11)"
  std::string engineVersion;  // "LibreOffice Version: 7.4.7.2"
  std::string osName;         // "Debian GNU/Linux 12 (bookworm)"
  std::string osVersion;      // "Linux 6.1.0-18-amd64"
  std::string processor;      // "Processor: ..."
  std::string freeDiskSpace;  // "Free Disk Space: 51234567890 bytes on /srv/out"
  std::string systemInfo;     // the fuller summary behind "System Info", one fact a line
};

// "1.0.2.11" gives "Version 1.0.2 (Build 11)"; a version without a build number has no build.
std::string aboutVersionText(const std::string& dottedVersion);

// The engine's product name with its version ("LibreOffice 7.4.7.2") gives
// "LibreOffice Version: 7.4.7.2"; without a version the version reads "unknown".
std::string engineVersionText(const std::string& productName);

// engineProductName is DocumentEngine::productName(); diskPath where the free space counts (the
// output folder when one is set).
AboutFacts makeAboutFacts(const std::string& engineProductName,
                          const platform::SystemFacts& system);

// Reads the system facts and makes the texts (for the main window).
AboutFacts collectAboutFacts(const std::string& engineProductName, const std::string& diskPath);

}  // namespace kelvara::app
