#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"

namespace kelvara::word {

// Every office of ours runs on a profile folder "<stateDir>/office-<instance>". The instance of a
// run's office names the run: "kelvara-<pid>", or "kelvara-<pid>-<k>" for one of several offices
// of a run. Offices are told apart from the user's own by that folder on their command line, and
// a run's offices from another run's by the pid in its name.

// "<stateDir>/office-", the state folder made absolute and normal.
std::string officeProfileRoot(const std::string& stateDir);

// The pid of the run that owns a profile folder ("office-kelvara-<pid>[-<k>]"); nullopt for any
// other name.
std::optional<int> profileOwner(const std::string& folderName);

// The profile folder name ("office-...") of an office program (soffice, soffice.bin, oosplash)
// started on a profile right below the state folder; nullopt for every other command line, the
// user's own office included.
std::optional<std::string> officeProfileOf(const std::vector<std::string>& commandLine,
                                           const std::string& stateDir);

// The UNO pipe an office accepts on ("--accept=pipe,name=<name>;urp;"); empty when none.
std::string officePipeName(const std::vector<std::string>& commandLine);

// True while the run that owns an office is alive: a process with the owner's pid that is no
// zombie and started no later than the office. One that started later got the pid after the
// owner ended.
bool ownerRunning(const std::vector<platform::ProcessInfo>& processes, int owner,
                  uint64_t officeStartTicks);

// Offices of ours whose run is gone: their owner has ended, or their profile names no owner.
// Processes in spared (offices of this process and their children) are never stale. Only the top
// of each process tree is listed: ending it ends its children.
std::vector<int> findStaleOffices(const std::vector<platform::ProcessInfo>& processes,
                                  const std::string& stateDir, const std::vector<int>& spared);

// Offices of ours that the given run owns, by exact pid (tops of trees).
std::vector<int> officesOwnedBy(const std::vector<platform::ProcessInfo>& processes,
                                const std::string& stateDir, int owner);

// Every office of ours, whoever owns it (tops of trees).
std::vector<int> ourOffices(const std::vector<platform::ProcessInfo>& processes,
                            const std::string& stateDir);

}  // namespace kelvara::word
