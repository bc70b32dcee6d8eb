#pragma once

#include <string>

namespace kelvara::app {

// The folder of the help pages for a program in exeDir: "<exeDir>/Help/" in the build tree, else
// "<exeDir>/../share/kelvara/Help/" when installed. Empty when neither exists; the result ends
// with "/" and is normalised (no "..").
std::string HelpFolder(const std::string& exeDir);

// The folder a missing help folder is reported under ("<exeDir>/Help/").
std::string ExpectedHelpFolder(const std::string& exeDir);

// A "file://" URL for an absolute path, percent-encoded; a "#fragment" at the end is kept as the
// URL's fragment.
std::string FileUrl(const std::string& pathWithFragment);

}  // namespace kelvara::app
