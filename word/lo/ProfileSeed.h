#pragma once

#include <string>

namespace kelvara::word::lo {

// The office's product version ("7.4") from its bootstrap file beside the program, or empty.
std::string officeProductVersion(const std::string& programDir);

// The user settings a private profile starts with: the version marker that spares the
// first-start work, no macros, no autosave or recovery, no lock files, no background spelling.
std::string profileRegistryModifications(const std::string& productVersion);

// Writes the settings into <profileDir>/user/registrymodifications.xcu unless the profile
// already has them. False when the file cannot be written.
bool seedProfile(const std::string& profileDir, const std::string& productVersion);

}  // namespace kelvara::word::lo
