#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::app {

// What the header of the diagnostic log says about the machine and the program.
struct DiagnosticFacts {
  std::string operatingSystem;  // "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64 x86_64"
  std::string localeCtype, localeTime, localeNumeric;  // as POSIX resolves LC_* and LANG
  std::string exePath;                                 // the first command-line word
  std::string version;                                 // the program's version
  std::vector<std::string> params;                     // the parameters after the program name
  std::string actualCmdLine;  // every word of the command line, joined by blanks
  std::string runDir;         // folder of the first command-line word, without final "/"
  std::string moduleName, moduleDir, modulePath;  // the program file (/proc/self/exe)
  std::string helpFolder;                         // empty when the help pages are not installed
  std::string browserCommand;  // the program that opens the pages, empty when none is found
};

// Debug mode: "debug.debug" in the program's folder, or "/debug" or "-debug" (any case) among the
// parameters.
bool DebugModeRequested(const std::string& moduleDir, const std::vector<std::string>& params);

// The facts of this process and machine. argv[0] and the parameters come from the caller.
DiagnosticFacts CollectDiagnosticFacts(const std::vector<std::string>& argv,
                                       const std::string& helpFolder);

// The folder of the running program (/proc/self/exe), without a final "/".
std::string ExecutableDir();

// The locale a category is in, as POSIX resolves it: LC_ALL, else the category's variable
// ("LC_TIME"), else LANG, else "C". Empty variables count as unset.
std::string ResolveLocale(const std::string& category,
                          const std::function<std::optional<std::string>(const std::string&)>& env);

// PRETTY_NAME of an os-release file's text (quotes removed), else NAME, else empty.
std::string OsReleasePrettyName(const std::string& text);

}  // namespace kelvara::app
