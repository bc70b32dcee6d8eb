#pragma once

#include <string>
#include <vector>

#include "app/help/DebugLog.h"

namespace kelvara::app {

inline constexpr const char* kDebugLogName = "HelpDebug.txt";

// The program's diagnostic log as it is set up at start: "HelpDebug.txt" beside the program (else
// in the temporary folder), not appended to, with the header when debug mode is on. Debug mode
// comes from "debug.debug" beside the program or "/debug" / "-debug" among argv's parameters.
DebugLog OpenProgramDebugLog(const std::vector<std::string>& argv,
                             DebugLog::MessageBox messageBox = nullptr);

}  // namespace kelvara::app
