#include "word/lo/FormatUnits.h"

#include <algorithm>
#include <cmath>

namespace kelvara::word::lo {
namespace {

constexpr double kHundredthsPerPoint = 2540.0 / 72.0;
// The office keeps escapements within this many percent of the font height.
constexpr double kMaxEscapement = 13999;

int16_t clampShort(double value) {
  return static_cast<int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

}  // namespace

int32_t hundredthsOfMillimetre(double points) {
  return static_cast<int32_t>(std::lround(points * kHundredthsPerPoint));
}

double pointsFromHundredths(int32_t hundredths) {
  return hundredths / kHundredthsPerPoint;
}

std::optional<LineSpacingSetting> lineSpacingFor(int32_t rule, double points) {
  switch (rule) {
    case 0:
      return LineSpacingSetting{LineSpacingMode::Proportional, 100};
    case 1:
      return LineSpacingSetting{LineSpacingMode::Proportional, 150};
    case 2:
      return LineSpacingSetting{LineSpacingMode::Proportional, 200};
    case 3:
      return LineSpacingSetting{LineSpacingMode::Minimum, clampShort(points * kHundredthsPerPoint)};
    case 4:
      return LineSpacingSetting{LineSpacingMode::Fixed, clampShort(points * kHundredthsPerPoint)};
    case 5:
      // Word counts multiples in points, 12 to a line.
      return LineSpacingSetting{LineSpacingMode::Proportional,
                                clampShort(std::max(points, 0.5) / 12.0 * 100.0)};
    default:
      return std::nullopt;
  }
}

int32_t lineSpacingRuleOf(const LineSpacingSetting& setting) {
  switch (setting.mode) {
    case LineSpacingMode::Proportional:
      return setting.height == 100 ? 0 : setting.height == 150 ? 1 : setting.height == 200 ? 2 : 5;
    case LineSpacingMode::Minimum:
      return 3;
    case LineSpacingMode::Fixed:
      return 4;
    case LineSpacingMode::Leading:
      // Extra space between lines has no rule of its own in Word; like a multiple, it grows
      // with the text, and it has no height that Word's "at least" or "exactly" could take.
      return 5;
  }
  return 5;
}

std::optional<int16_t> paragraphAdjustFor(int32_t alignment) {
  // com.sun.star.style.ParagraphAdjust: LEFT 0, RIGHT 1, BLOCK 2, CENTER 3.
  switch (alignment) {
    case 0:
      return 0;
    case 1:
      return 3;
    case 2:
      return 1;
    case 3:
      return 2;
    default:
      return std::nullopt;
  }
}

int16_t escapementPercent(double positionPoints, double fontHeightPoints) {
  if (fontHeightPoints <= 0) {
    return 0;
  }
  const double percent = positionPoints / fontHeightPoints * 100.0;
  return clampShort(std::clamp(percent, -kMaxEscapement, kMaxEscapement));
}

}  // namespace kelvara::word::lo
