#pragma once

#include <cstdint>
#include <string>

namespace kelvara::format {

// Number of paper size codes: 0 "10x14" to 41 "Custom".
inline constexpr int32_t kPaperSizeCount = 42;

// The name of a paper size code as the lists show it ("A4", "Custom"); the number itself for a
// code outside the list.
std::string paperSizeName(int32_t code);

}  // namespace kelvara::format
