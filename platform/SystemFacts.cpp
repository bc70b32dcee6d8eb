#include "platform/SystemFacts.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/FileSystem.h"

namespace kelvara::platform {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {};
  }
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
    s.remove_prefix(1);
  }
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
    s.remove_suffix(1);
  }
  return s;
}

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> result;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    result.push_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      break;
    }
    text.remove_prefix(end + 1);
  }
  return result;
}

// os-release values are shell-style: unquoted, or in double quotes with backslash escapes, or in
// single quotes taken literally.
std::string unquote(std::string_view v) {
  v = trim(v);
  if (v.size() >= 2 && v.front() == '\'' && v.back() == '\'') {
    return std::string(v.substr(1, v.size() - 2));
  }
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
    v = v.substr(1, v.size() - 2);
  }
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      ++i;
    }
    out += v[i];
  }
  return out;
}

std::string osReleaseValue(std::string_view text, std::string_view key) {
  for (std::string_view line : lines(text)) {
    line = trim(line);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=') {
      return unquote(line.substr(key.size() + 1));
    }
  }
  return {};
}

// The value of the first "key : value" line whose key is exactly this one.
std::string cpuInfoValue(std::string_view text, std::string_view key) {
  for (std::string_view line : lines(text)) {
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && trim(line.substr(0, colon)) == key) {
      const std::string_view value = trim(line.substr(colon + 1));
      if (!value.empty()) {
        return std::string(value);
      }
    }
  }
  return {};
}

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr && *home != '\0' ? home : "/";
}

}  // namespace

std::string osReleaseName(std::string_view text) {
  std::string pretty = osReleaseValue(text, "PRETTY_NAME");
  if (!pretty.empty()) {
    return pretty;
  }
  std::string name = osReleaseValue(text, "NAME");
  const std::string version = osReleaseValue(text, "VERSION");
  if (!name.empty() && !version.empty()) {
    name += " " + version;
  }
  return name;
}

std::string cpuModelName(std::string_view text) {
  for (std::string_view key : {"model name", "Hardware", "cpu model", "cpu", "Processor"}) {
    std::string value = cpuInfoValue(text, key);
    if (!value.empty()) {
      return value;
    }
  }
  return {};
}

std::optional<uint64_t> memInfoBytes(std::string_view text, std::string_view key) {
  for (std::string_view line : lines(text)) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.substr(0, colon) != key) {
      continue;
    }
    std::string_view rest = trim(line.substr(colon + 1));
    uint64_t value = 0;
    size_t i = 0;
    for (; i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i])); ++i) {
      value = value * 10 + static_cast<uint64_t>(rest[i] - '0');
    }
    if (i == 0) {
      return std::nullopt;
    }
    const std::string_view unit = trim(rest.substr(i));
    return unit == "kB" ? value * 1024 : value;
  }
  return std::nullopt;
}

SystemFacts readSystemFacts(const std::string& diskPath, const SystemFactsSources& sources) {
  SystemFacts facts;
  std::string release = readText(sources.osRelease);
  if (release.empty()) {
    release = readText(sources.osReleaseFallback);
  }
  facts.osName = osReleaseName(release);

  struct utsname uts {};
  if (::uname(&uts) == 0) {
    facts.osVersion = std::string(uts.sysname) + " " + uts.release;
    facts.kernel =
        std::string(uts.sysname) + " " + uts.release + " " + uts.version + " " + uts.machine;
    facts.machine = uts.machine;
    if (facts.osName.empty()) {
      facts.osName = uts.sysname;
    }
  }
  facts.processor = cpuModelName(readText(sources.cpuInfo));
  if (facts.processor.empty()) {
    facts.processor = facts.machine;
  }
  const long online = ::sysconf(_SC_NPROCESSORS_ONLN);
  facts.cpuCount = online > 0 ? static_cast<unsigned>(online) : 0;

  const std::string memInfo = readText(sources.memInfo);
  facts.memoryTotal = memInfoBytes(memInfo, "MemTotal");
  facts.memoryAvailable = memInfoBytes(memInfo, "MemAvailable");

  facts.diskPath = diskPath.empty() ? homeFolder() : diskPath;
  facts.freeDiskSpace = freeSpace(facts.diskPath);
  return facts;
}

}  // namespace kelvara::platform
