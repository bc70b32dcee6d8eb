#include "word/lo/StaleOffices.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Paths.h"
#include "word/OfficeOwners.h"
#include "word/lo/LibreOfficeEngine.h"

namespace kelvara::word::lo {
namespace {

std::mutex& liveMutex() {
  static std::mutex m;
  return m;
}

std::set<int>& liveSet() {
  static std::set<int> s;
  return s;
}

}  // namespace

std::string profileRoot(const std::string& stateDir) {
  return officeProfileRoot(stateDir);
}

void registerLiveOffice(int pid) {
  std::lock_guard<std::mutex> lock(liveMutex());
  liveSet().insert(pid);
}

void unregisterLiveOffice(int pid) {
  std::lock_guard<std::mutex> lock(liveMutex());
  liveSet().erase(pid);
}

std::vector<int> liveOffices() {
  std::lock_guard<std::mutex> lock(liveMutex());
  return {liveSet().begin(), liveSet().end()};
}

void removeAbandonedProfiles(const std::string& stateDir,
                             const std::vector<platform::ProcessInfo>& processes,
                             const std::set<std::string>& endedOffices) {
  std::set<std::string> inUse;
  for (const auto& p : processes) {
    if (auto profile = officeProfileOf(p.commandLine, stateDir); profile && !p.zombie) {
      inUse.insert(*profile);
    }
  }
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(stateDir, ec)) {
    const std::string name = entry.path().filename().string();
    if (inUse.count(name) || !entry.is_directory(ec)) {
      continue;
    }
    const auto owner = profileOwner(name);
    if (!owner && !endedOffices.count(name)) {
      continue;
    }
    // Any start time will do: a live owner keeps its profile even if its pid was reused, which
    // at worst leaves the folder for a later run.
    if (owner &&
        (*owner == platform::currentProcessId() || ownerRunning(processes, *owner, UINT64_MAX))) {
      continue;
    }
    std::filesystem::remove_all(entry.path(), ec);
  }
}

std::string pipeSocketPath(const std::string& pipeName) {
  return "/tmp/OSL_PIPE_" + std::to_string(platform::currentUserId()) + "_" + pipeName;
}

}  // namespace kelvara::word::lo

namespace kelvara::word {

StaleOfficeReport clearStaleOffices(const std::string& stateDirOrEmpty,
                                    const std::function<void(const std::string&)>& progress) {
  const std::string stateDir = stateDirOrEmpty.empty() ? platform::stateDir() : stateDirOrEmpty;
  StaleOfficeReport report;
  std::set<std::string> endedProfiles;
  std::set<std::string> pipes;
  auto processes = platform::listProcesses();
  auto stale = findStaleOffices(processes, stateDir, lo::liveOffices());
  if (!stale.empty()) {
    report.found = static_cast<int>(stale.size());
    if (progress) {
      progress("LibreOffice is running. It will be tried to close it");
    }
    std::set<int> members;
    for (int pid : stale) {
      for (int member : platform::processTreeKillOrder(processes, pid)) {
        members.insert(member);
      }
    }
    for (const auto& p : processes) {
      if (!members.count(p.pid)) {
        continue;
      }
      if (const auto profile = officeProfileOf(p.commandLine, stateDir)) {
        endedProfiles.insert(*profile);
      }
      if (!officePipeName(p.commandLine).empty()) {
        pipes.insert(officePipeName(p.commandLine));
      }
    }
    for (int pid : stale) {
      int error = 0;
      if (platform::killProcessTree(pid, &error)) {
        ++report.ended;
      } else {
        report.errorCode = error;
        if (progress) {
          progress("LibreOffice Program Close Error. Code: " + std::to_string(error));
        }
      }
    }
    // Give the kernel a moment to take the killed processes down before their profiles go.
    for (int i = 0; i < 100; ++i) {
      processes = platform::listProcesses();
      stale = findStaleOffices(processes, stateDir, lo::liveOffices());
      if (stale.empty()) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    report.stillRunning = static_cast<int>(stale.size());
    // Killed offices leave their pipes' socket files behind; a live office may share a name
    // with one whose run had the same pid long ago.
    for (const auto& p : processes) {
      if (!p.zombie) {
        pipes.erase(officePipeName(p.commandLine));
      }
    }
    std::error_code ec;
    for (const std::string& pipe : pipes) {
      std::filesystem::remove(lo::pipeSocketPath(pipe), ec);
    }
  }
  lo::removeAbandonedProfiles(stateDir, platform::listProcesses(), endedProfiles);
  return report;
}

void endOfficesOfThisProcess(const std::string& stateDirOrEmpty) {
  const std::string stateDir = stateDirOrEmpty.empty() ? platform::stateDir() : stateDirOrEmpty;
  std::vector<int> offices =
      officesOwnedBy(platform::listProcesses(), stateDir, platform::currentProcessId());
  for (int pid : lo::liveOffices()) {
    offices.push_back(pid);
  }
  for (int pid : offices) {
    platform::killProcessTree(pid);
  }
}

}  // namespace kelvara::word
