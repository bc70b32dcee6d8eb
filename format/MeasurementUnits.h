#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvara::format {

inline constexpr int32_t kInches = 0;
inline constexpr int32_t kCentimetres = 1;
inline constexpr int32_t kMillimetres = 2;
inline constexpr int32_t kPoints = 3;
inline constexpr int32_t kPicas = 4;

// A display unit of lengths. Roundings are steps: a value is rounded to a whole multiple of them
// (0 = not rounded).
struct MeasurementUnit {
  std::string_view name;    // as shown in the unit list
  std::string_view suffix;  // shown after a length
  double pointsPerUnit;
  double roundingFromPoints;  // after converting points into this unit
  double roundingToPoints;    // of the points after converting back
  double editorStep;
  double editorRounding;
};

inline constexpr std::array<MeasurementUnit, 5> kMeasurementUnits{{
    {"Inches", "\"", 72.0, 0.01, 0.01, 0.1, 0.01},
    {"Centimetres", " cm", 72.0 / 2.54, 0.1, 0.1, 0.1, 0.01},
    {"Millimetres", " mm", 72.0 / 25.4, 1, 1, 1, 0.1},
    {"Point", "pt", 1.0, 0, 0, 1, 0.1},
    {"Pica", "pi", 12.0, 0.1, 0.1, 1, 0.1},
}};

// The unit of a MeasurementUnits value; nullptr outside 0 to 4.
const MeasurementUnit* measurementUnit(int32_t units);
// Step and rounding of the length editors; a unit outside 0 to 4 gives 0.1 and 0.01.
double editorStep(int32_t units);
double editorRounding(int32_t units);

// round(value / step) * step, halves to the even neighbour; step 0 leaves the value alone.
double roundToStep(double value, double step);

}  // namespace kelvara::format
