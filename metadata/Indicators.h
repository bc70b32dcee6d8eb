#pragma once

namespace kelvara::metadata {

// The main window's three lamps for date, attribute and security copying.
enum class Indicator { Date = 0, Attrib = 1, Perm = 2 };
enum class LedColor { Green = 0, Yellow = 1, Red = 2 };

}  // namespace kelvara::metadata
