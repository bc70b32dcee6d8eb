#include "word/lo/StaleOffices.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "word/lo/FileUrl.h"
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

std::string baseName(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isOfficeProgram(const std::string& argv0) {
  const std::string name = baseName(argv0);
  return name == "soffice" || name == "soffice.bin" || name == "oosplash" || name == "soffice.exe";
}

}  // namespace

std::string profileRoot(const std::string& stateDir) {
  std::string root = stateDir;
  while (root.size() > 1 && root.back() == '/') {
    root.pop_back();
  }
  return root + "/office-";
}

bool isOurOfficeCommandLine(const std::vector<std::string>& commandLine, const std::string& root) {
  if (commandLine.empty() || !isOfficeProgram(commandLine.front())) {
    return false;
  }
  const std::string option = "-env:UserInstallation=";
  const std::string plainUrl = option + "file://" + root;
  const std::string encodedUrl = option + fileUrlFromPath(root);
  for (size_t i = 1; i < commandLine.size(); ++i) {
    const std::string& arg = commandLine[i];
    if (arg.rfind(plainUrl, 0) == 0 || arg.rfind(encodedUrl, 0) == 0) {
      return true;
    }
  }
  return false;
}

std::vector<int> findStaleOffices(const std::vector<platform::ProcessInfo>& processes,
                                  const std::string& root, const std::vector<int>& live) {
  std::set<int> spared;
  for (int pid : live) {
    for (int member : platform::processTreeKillOrder(processes, pid)) {
      spared.insert(member);
    }
  }
  std::set<int> ours;
  for (const auto& p : processes) {
    if (!spared.count(p.pid) && isOurOfficeCommandLine(p.commandLine, root)) {
      ours.insert(p.pid);
    }
  }
  // Report only the top of each tree: ending it ends its children.
  std::vector<int> result;
  for (const auto& p : processes) {
    if (ours.count(p.pid) && !ours.count(p.ppid)) {
      result.push_back(p.pid);
    }
  }
  return result;
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

void removeAbandonedProfiles(const std::string& stateDir) {
  const std::string prefix = "office-kelvara-";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(stateDir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !entry.is_directory(ec)) {
      continue;
    }
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    const int owner = std::stoi(digits);
    if (owner == platform::currentProcessId() || platform::isProcessAlive(owner)) {
      continue;
    }
    std::filesystem::remove_all(entry.path(), ec);
  }
}

}  // namespace kelvara::word::lo

namespace kelvara::word {

StaleOfficeReport clearStaleOffices(const std::string& stateDir,
                                    const std::function<void(const std::string&)>& progress) {
  StaleOfficeReport report;
  const std::string root = lo::profileRoot(stateDir);
  auto stale = lo::findStaleOffices(platform::listProcesses(), root, lo::liveOffices());
  if (!stale.empty()) {
    report.found = static_cast<int>(stale.size());
    if (progress) {
      progress("LibreOffice is running. It will be tried to close it");
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
      stale = lo::findStaleOffices(platform::listProcesses(), root, lo::liveOffices());
      if (stale.empty()) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    report.stillRunning = static_cast<int>(stale.size());
  }
  lo::removeAbandonedProfiles(stateDir);
  return report;
}

}  // namespace kelvara::word
