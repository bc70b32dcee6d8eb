#pragma once

#include <string>

namespace kelvara::word::lo {

// Scripts that run inside the office, so that a walk of thousands of small steps costs the
// client one call instead of one per step. They live in the office profile's user scripts
// and need the office's Python script provider; without it the client walks step by step.

// The file of the scripts in the profile. Its functions:
// count_lines(model, plausible, most) does what countLines does call by call;
// read_sections(model) gives what readSections reads element by element.
extern const char* const kOfficeScriptName;
// A function's URI for the office's script provider.
std::string officeScriptUri(const std::string& function);

// Writes the scripts into <profileDir>/user/Scripts/python, replacing older versions; false
// when they cannot be written (the office then works without them).
bool installOfficeScripts(const std::string& profileDir);

}  // namespace kelvara::word::lo
