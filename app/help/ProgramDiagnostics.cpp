#include "app/help/ProgramDiagnostics.h"

#include <utility>

#include "app/help/HelpFolder.h"

namespace kelvara::app {

DebugLog OpenProgramDebugLog(const std::vector<std::string>& argv,
                             DebugLog::MessageBox messageBox) {
  const std::string exeDir = ExecutableDir();
  const std::vector<std::string> params(argv.empty() ? argv.end() : argv.begin() + 1, argv.end());
  const bool debugMode = DebugModeRequested(exeDir, params);
  return DebugLog(exeDir + "/" + kDebugLogName, false, true, true, debugMode,
                  CollectDiagnosticFacts(argv, HelpFolder(exeDir)), TempFolder(),
                  platform::Locale::fromEnvironment(), std::move(messageBox));
}

}  // namespace kelvara::app
