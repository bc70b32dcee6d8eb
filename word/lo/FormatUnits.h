#pragma once

#include <cstdint>
#include <optional>

// Word's paragraph and character values in the office's terms: points become 1/100 mm, Word's
// codes become the office's. Plain arithmetic, so that it is tested without an office.

namespace kelvara::word::lo {

// Points to the office's 1/100 mm, rounded.
int32_t hundredthsOfMillimetre(double points);
double pointsFromHundredths(int32_t hundredths);

// The office's line spacing modes (com.sun.star.style.LineSpacingMode).
enum class LineSpacingMode : int16_t { Proportional = 0, Minimum = 1, Leading = 2, Fixed = 3 };

struct LineSpacingSetting {
  LineSpacingMode mode = LineSpacingMode::Proportional;
  int16_t height = 100;  // percent when proportional, else 1/100 mm

  bool operator==(const LineSpacingSetting&) const = default;
};

// Word's rule (0 single, 1 one and a half, 2 double, 3 at least, 4 exactly, 5 multiple) with
// its LineSpacing in points (the height for 3 and 4; for 5, 12 points are one line). Empty for
// a rule outside 0..5.
std::optional<LineSpacingSetting> lineSpacingFor(int32_t rule, double points);
// The rule that Word would report for the office's setting.
int32_t lineSpacingRuleOf(const LineSpacingSetting& setting);

// Word's alignment (0 left, 1 centred, 2 right, 3 justified) as the office's ParaAdjust; empty
// for any other code.
std::optional<int16_t> paragraphAdjustFor(int32_t alignment);

// A raise (positive) or drop in points as the office's escapement, a percentage of the font
// height, for text of that height.
int16_t escapementPercent(double positionPoints, double fontHeightPoints);

}  // namespace kelvara::word::lo
