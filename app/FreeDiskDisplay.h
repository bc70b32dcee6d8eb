#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvara::app {

// The two free-disk labels of the main window.
struct FreeDiskTexts {
  std::string freeKb;       // free space in KB, "" when unknown
  std::string freePercent;  // free share of the file system in per cent, "" when unknown
};

// For the file system of the output folder, or of the input folder when there is no output
// folder; both empty when neither is set or the file system cannot be read.
FreeDiskTexts FreeDiskFor(const std::string& outPath, const std::string& inpPath);

// The texts from the two sizes in bytes. A size of zero or an unknown size leaves the percentage
// empty rather than dividing by it.
FreeDiskTexts FreeDiskTextsOf(std::optional<uint64_t> freeBytes, std::optional<uint64_t> size);

}  // namespace kelvara::app
