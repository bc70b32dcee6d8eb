#pragma once

#include <cstdint>
#include <optional>

namespace kelvara::word {

// Word's paper size codes (0 "10x14" .. 40 "EnvelopePersonal"); 41 is Custom: the page has a
// size of its own.
inline constexpr int32_t kCustomPaperSize = 41;

// A sheet in points, short side first (as it stands in portrait).
struct PaperDimensions {
  double shortSide = 0;
  double longSide = 0;
};

// The sheet of a listed paper size code; nullopt for Custom and for codes outside the list.
std::optional<PaperDimensions> paperDimensions(int32_t code);

// The code of the listed size that a page of this width and height (points, either orientation)
// has, within the tolerance; Custom when none fits. Sizes listed twice (Letter and Note, A4 and
// A4Small, ...) give the lower code.
int32_t paperSizeCode(double width, double height, double tolerance = 1.0);

}  // namespace kelvara::word
