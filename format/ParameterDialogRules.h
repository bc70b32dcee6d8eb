#pragma once

#include <cstdint>
#include <string>

namespace kelvara::format {

// Line spacing rules as the paragraph values number them.
inline constexpr int32_t kLineSpacingSingle = 0;
inline constexpr int32_t kLineSpacingOneAndHalf = 1;
inline constexpr int32_t kLineSpacingDouble = 2;
inline constexpr int32_t kLineSpacingAtLeast = 3;
inline constexpr int32_t kLineSpacingExactly = 4;
inline constexpr int32_t kLineSpacingMultiple = 5;

// What the paragraph dialog's line spacing value field shows for a rule.
struct LineSpacingField {
  bool empty = false;  // the fixed rules need no value
  double value = 0;
  std::string suffix;
  double step = 1;
};

// The field for `rule`, starting from what the field holds now. A rule chosen by the user
// (`chosen`) puts 3 lines into a Multiple field; the field loaded at opening keeps its stored
// multiple. A point rule turns a value below 0.001 into 12 points, a multiple below 0.001 becomes
// 3.
LineSpacingField lineSpacingField(int32_t rule, double current, bool chosen);

// A value typed while a fixed rule (Single, 1.5, Double) is chosen asks for that many lines.
bool typingSwitchesToMultiple(int32_t rule);

// The stored font position and spacing from a list index (0 Normal, 1 up/expanded, 2
// down/reduced) and the editor's magnitude: positive up, negative down, 0 for Normal. The
// position is whole points.
int32_t fontPositionFrom(int32_t type, double magnitude);
double fontSpacingFrom(int32_t type, double magnitude);

}  // namespace kelvara::format
