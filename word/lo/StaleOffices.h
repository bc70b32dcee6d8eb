#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace kelvara::word::lo {

// The folder below which every office profile of ours lives: <stateDir>/office-<instance>.
std::string profileRoot(const std::string& stateDir);

// True when the command line is an office program (soffice, soffice.bin, oosplash) started on a
// profile below profileRoot: one of ours, never the user's own office.
bool isOurOfficeCommandLine(const std::vector<std::string>& commandLine,
                            const std::string& profileRoot);

// Our offices in the list that are not live engines of this process, nor children of one.
std::vector<int> findStaleOffices(const std::vector<platform::ProcessInfo>& processes,
                                  const std::string& profileRoot,
                                  const std::vector<int>& liveOffices);

// Live engines of this process register their office here so that clearing never hits them.
void registerLiveOffice(int pid);
void unregisterLiveOffice(int pid);
std::vector<int> liveOffices();

// Removes profile folders of engines whose process has ended ("office-kelvara-<pid>").
void removeAbandonedProfiles(const std::string& stateDir);

}  // namespace kelvara::word::lo
