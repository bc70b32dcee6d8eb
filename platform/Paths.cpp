#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kelvara::platform {
namespace {

std::string envOrEmpty(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string homeDir() {
  std::string home = envOrEmpty("HOME");
  if (home.empty()) {
    if (const passwd* pw = getpwuid(getuid())) {
      home = pw->pw_dir;
    }
  }
  return home.empty() ? std::string("/tmp") : home;
}

std::string xdgDir(const char* var, const char* fallbackBelowHome) {
  std::string base = envOrEmpty(var);
  if (base.empty() || base.front() != '/') {
    base = homeDir() + "/" + fallbackBelowHome;
  }
  return base + "/kelvara";
}

}  // namespace

std::string configDir() {
  std::string own = envOrEmpty("KELVARA_CONFIG_DIR");
  if (!own.empty()) {
    return own;
  }
  return xdgDir("XDG_CONFIG_HOME", ".config");
}

std::string stateDir() {
  return xdgDir("XDG_STATE_HOME", ".local/state");
}

std::string runtimeDir() {
  std::string base = envOrEmpty("XDG_RUNTIME_DIR");
  if (base.empty() || base.front() != '/') {
    return stateDir();
  }
  return base + "/kelvara";
}

bool ensureDir(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    return true;
  }
  std::filesystem::create_directories(path, ec);
  if (ec) {
    return false;
  }
  std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::replace, ec);
  return true;
}

}  // namespace kelvara::platform
