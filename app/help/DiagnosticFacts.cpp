#include "app/help/DiagnosticFacts.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kelvara::app {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<std::string> environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

std::string operatingSystem() {
  std::string name = OsReleasePrettyName(readFile("/etc/os-release"));
  if (name.empty()) {
    name = OsReleasePrettyName(readFile("/usr/lib/os-release"));
  }
  struct utsname uts {};
  if (::uname(&uts) == 0) {
    const std::string kernel = std::string(uts.sysname) + " " + uts.release + " " + uts.machine;
    name = name.empty() ? kernel : name + ", " + kernel;
  }
  return name;
}

// The first program on PATH that opens a page in the desktop's browser.
std::string browserCommand() {
  const std::optional<std::string> path = environment("PATH");
  std::stringstream folders(path.value_or("/usr/local/bin:/usr/bin:/bin"));
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/xdg-open";
    if (::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return "";
}

std::string folderWithoutSlash(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return "";
  }
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

bool DebugModeRequested(const std::string& moduleDir, const std::vector<std::string>& params) {
  std::error_code ec;
  if (!moduleDir.empty() && std::filesystem::exists(moduleDir + "/debug.debug", ec)) {
    return true;
  }
  return std::any_of(params.begin(), params.end(), [](const std::string& p) {
    const std::string l = lower(p);
    return l == "/debug" || l == "-debug";
  });
}

std::string ResolveLocale(
    const std::string& category,
    const std::function<std::optional<std::string>(const std::string&)>& env) {
  for (const std::string& name : {std::string("LC_ALL"), category, std::string("LANG")}) {
    const std::optional<std::string> value = env(name);
    if (value && !value->empty()) {
      return *value;
    }
  }
  return "C";
}

std::string OsReleasePrettyName(const std::string& text) {
  std::string pretty;
  std::string name;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      continue;
    }
    std::string value = line.substr(equals + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    const std::string key = line.substr(0, equals);
    if (key == "PRETTY_NAME") {
      pretty = value;
    } else if (key == "NAME") {
      name = value;
    }
  }
  return pretty.empty() ? name : pretty;
}

std::string ExecutableDir() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

DiagnosticFacts CollectDiagnosticFacts(const std::vector<std::string>& argv,
                                       const std::string& helpFolder) {
  DiagnosticFacts f;
  f.operatingSystem = operatingSystem();
  f.localeCtype = ResolveLocale("LC_CTYPE", environment);
  f.localeTime = ResolveLocale("LC_TIME", environment);
  f.localeNumeric = ResolveLocale("LC_NUMERIC", environment);
  f.exePath = argv.empty() ? "" : argv[0];
#ifdef KELVARA_VERSION
  f.version = KELVARA_VERSION;
#endif
  if (argv.size() > 1) {
    f.params.assign(argv.begin() + 1, argv.end());
  }
  for (size_t i = 0; i < argv.size(); ++i) {
    f.actualCmdLine += (i == 0 ? "" : " ") + argv[i];
  }
  f.runDir = folderWithoutSlash(f.exePath);
  std::error_code ec;
  f.modulePath = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  f.moduleDir = folderWithoutSlash(f.modulePath);
  f.moduleName = f.modulePath.substr(f.modulePath.rfind('/') + 1);
  f.helpFolder = helpFolder;
  f.browserCommand = browserCommand();
  return f;
}

}  // namespace kelvara::app
