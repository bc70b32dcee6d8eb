#pragma once

#include <string>

namespace kelvara::config {

// A message that loading the configuration has for the operator: shown in a message box by the
// window, printed by the console program.
struct LoadNotice {
  std::string text;
  std::string title;

  friend bool operator==(const LoadNotice&, const LoadNotice&) = default;
};

// Title of the plain message boxes.
inline constexpr const char* kApplicationTitle = "Kelvara";
// Title of the notices about unusable values in the file.
inline constexpr const char* kConfigNoticeTitle = "Kelva.ini";

}  // namespace kelvara::config
