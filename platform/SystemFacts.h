#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara::platform {

// What the about box tells about the machine. Texts are empty when the system does not say.
struct SystemFacts {
  std::string osName;                       // "Debian GNU/Linux 12 (bookworm)"
  std::string osVersion;                    // "Linux 6.1.0-18-amd64"
  std::string processor;                    // "Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz"
  std::string kernel;                       // the whole uname: system, release, build and machine
  std::string machine;                      // "x86_64"
  unsigned cpuCount = 0;                    // processors online
  std::optional<uint64_t> memoryTotal;      // bytes
  std::optional<uint64_t> memoryAvailable;  // bytes
  std::string diskPath;                     // where the free space was measured
  std::optional<uint64_t> freeDiskSpace;    // bytes available to this user there
};

// Where the facts are read from; tests point these at files of their own.
struct SystemFactsSources {
  std::string osRelease = "/etc/os-release";
  std::string osReleaseFallback = "/usr/lib/os-release";
  std::string cpuInfo = "/proc/cpuinfo";
  std::string memInfo = "/proc/meminfo";
};

// Reads the facts; the free space is that of the file system holding diskPath (the home folder
// when empty). Never fails: what cannot be read stays empty.
SystemFacts readSystemFacts(const std::string& diskPath,
                            const SystemFactsSources& sources = SystemFactsSources{});

// PRETTY_NAME of an os-release text (quotes and escapes removed), else NAME and VERSION.
std::string osReleaseName(std::string_view text);
// The processor's name in /proc/cpuinfo: "model name" on x86, the other architectures' fields
// ("Hardware", "cpu model", "cpu", "Processor") when it is missing; empty when none is there.
std::string cpuModelName(std::string_view text);
// A "Key:   1234 kB" line of /proc/meminfo, in bytes.
std::optional<uint64_t> memInfoBytes(std::string_view text, std::string_view key);

}  // namespace kelvara::platform
