#pragma once

#include <string>
#include <string_view>

namespace kelvara::run {

// Case-insensitive text handling for file names and masks, as Windows compares names: ASCII
// and the Latin, Greek and Cyrillic letters of UTF-8 text. A byte that is not valid UTF-8 stands
// for itself and never equals a valid character.

// The lower-case code points of a UTF-8 text.
std::u32string foldedCodePoints(std::string_view utf8);
// Negative, zero or positive as a is before, equal to or after b ignoring case.
int compareIgnoreCase(std::string_view a, std::string_view b);
inline bool sameTextIgnoreCase(std::string_view a, std::string_view b) {
  return compareIgnoreCase(a, b) == 0;
}

}  // namespace kelvara::run
