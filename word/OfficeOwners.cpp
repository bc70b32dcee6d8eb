#include "word/OfficeOwners.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

namespace kelvara::word {
namespace {

constexpr char kProfilePrefix[] = "office-";
constexpr char kOwnedPrefix[] = "office-kelvara-";
constexpr char kProfileOption[] = "-env:UserInstallation=";

std::string normalFolder(const std::string& path) {
  std::error_code ec;
  std::string folder = std::filesystem::absolute(path, ec).lexically_normal().string();
  if (ec) {
    folder = path;
  }
  while (folder.size() > 1 && folder.back() == '/') {
    folder.pop_back();
  }
  return folder;
}

bool isOfficeProgram(const std::string& argv0) {
  const std::string name = std::filesystem::path(argv0).filename().string();
  return name == "soffice" || name == "soffice.bin" || name == "oosplash";
}

std::optional<int> hexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return std::nullopt;
}

std::string percentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const auto high = hexDigit(text[i + 1]);
      const auto low = hexDigit(text[i + 2]);
      if (high && low) {
        out += static_cast<char>(*high * 16 + *low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

bool allDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Tops of the trees formed by our offices that the filter keeps.
std::vector<int> officeTops(
    const std::vector<platform::ProcessInfo>& processes, const std::string& stateDir,
    const std::function<bool(const platform::ProcessInfo&, const std::string&)>& keep) {
  const std::string folder = normalFolder(stateDir);
  std::set<int> kept;
  for (const auto& p : processes) {
    if (p.zombie) {
      continue;
    }
    const auto profile = officeProfileOf(p.commandLine, folder);
    if (profile && keep(p, *profile)) {
      kept.insert(p.pid);
    }
  }
  std::vector<int> tops;
  for (const auto& p : processes) {
    if (kept.count(p.pid) && !kept.count(p.ppid)) {
      tops.push_back(p.pid);
    }
  }
  return tops;
}

}  // namespace

std::string officeProfileRoot(const std::string& stateDir) {
  return normalFolder(stateDir) + "/" + kProfilePrefix;
}

std::optional<int> profileOwner(const std::string& folderName) {
  if (folderName.rfind(kOwnedPrefix, 0) != 0) {
    return std::nullopt;
  }
  const std::string rest = folderName.substr(sizeof kOwnedPrefix - 1);
  const auto dash = rest.find('-');
  const std::string pid = rest.substr(0, dash);
  if (!allDigits(pid) || pid.size() > 9) {
    return std::nullopt;
  }
  if (dash != std::string::npos && !allDigits(rest.substr(dash + 1))) {
    return std::nullopt;
  }
  const int owner = std::stoi(pid);
  return owner > 0 ? std::optional<int>(owner) : std::nullopt;
}

std::optional<std::string> officeProfileOf(const std::vector<std::string>& commandLine,
                                           const std::string& stateDir) {
  if (commandLine.empty() || !isOfficeProgram(commandLine.front())) {
    return std::nullopt;
  }
  const std::string root = officeProfileRoot(stateDir);
  const std::string scheme = std::string(kProfileOption) + "file://";
  for (size_t i = 1; i < commandLine.size(); ++i) {
    const std::string& arg = commandLine[i];
    if (arg.rfind(scheme, 0) != 0) {
      continue;
    }
    const std::string path = percentDecoded(arg.substr(scheme.size()));
    if (path.rfind(root, 0) != 0) {
      return std::nullopt;
    }
    const std::string name = path.substr(root.size(), path.find('/', root.size()) - root.size());
    if (name.empty()) {
      return std::nullopt;
    }
    return kProfilePrefix + name;
  }
  return std::nullopt;
}

std::string officePipeName(const std::vector<std::string>& commandLine) {
  const std::string option = "--accept=pipe,name=";
  for (const std::string& arg : commandLine) {
    if (arg.rfind(option, 0) == 0) {
      const std::string rest = arg.substr(option.size());
      return rest.substr(0, rest.find_first_of(",;"));
    }
  }
  return "";
}

bool ownerRunning(const std::vector<platform::ProcessInfo>& processes, int owner,
                  uint64_t officeStartTicks) {
  return std::any_of(processes.begin(), processes.end(), [&](const platform::ProcessInfo& p) {
    return p.pid == owner && !p.zombie && p.startTicks <= officeStartTicks;
  });
}

std::vector<int> findStaleOffices(const std::vector<platform::ProcessInfo>& processes,
                                  const std::string& stateDir, const std::vector<int>& spared) {
  std::set<int> sparedTree;
  for (int pid : spared) {
    for (int member : platform::processTreeKillOrder(processes, pid)) {
      sparedTree.insert(member);
    }
  }
  return officeTops(processes, stateDir,
                    [&](const platform::ProcessInfo& p, const std::string& profile) {
                      if (sparedTree.count(p.pid)) {
                        return false;
                      }
                      const auto owner = profileOwner(profile);
                      return !owner || !ownerRunning(processes, *owner, p.startTicks);
                    });
}

std::vector<int> officesOwnedBy(const std::vector<platform::ProcessInfo>& processes,
                                const std::string& stateDir, int owner) {
  return officeTops(processes, stateDir,
                    [owner](const platform::ProcessInfo&, const std::string& profile) {
                      return profileOwner(profile) == owner;
                    });
}

std::vector<int> ourOffices(const std::vector<platform::ProcessInfo>& processes,
                            const std::string& stateDir) {
  return officeTops(processes, stateDir,
                    [](const platform::ProcessInfo&, const std::string&) { return true; });
}

}  // namespace kelvara::word
