#pragma once

#include <cstddef>
#include <string>

namespace kelvara::testing {

// How often part occurs in text (overlapping occurrences counted).
inline size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) {
    ++n;
  }
  return n;
}

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace kelvara::testing
