#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace kelvara::word::lo {

// The folder below which every office profile of ours lives: <stateDir>/office-<instance>.
std::string profileRoot(const std::string& stateDir);

// Live engines of this process register their office here so that clearing never hits them,
// whatever their profile is called.
void registerLiveOffice(int pid);
void unregisterLiveOffice(int pid);
std::vector<int> liveOffices();

// Removes the profile folders on which no office of ours runs any more and that no live run owns:
// "office-kelvara-<pid>[-<k>]" of runs that have ended, and those named in endedOffices, whose
// stale offices were just ended whatever their profile is called.
void removeAbandonedProfiles(const std::string& stateDir,
                             const std::vector<platform::ProcessInfo>& processes,
                             const std::set<std::string>& endedOffices);

// The socket file an office leaves behind for its pipe when it is killed.
std::string pipeSocketPath(const std::string& pipeName);

}  // namespace kelvara::word::lo
