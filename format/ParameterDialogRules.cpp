#include "format/ParameterDialogRules.h"

#include <cmath>

#include "format/MeasurementUnits.h"

namespace kelvara::format {

LineSpacingField lineSpacingField(int32_t rule, double current, bool chosen) {
  LineSpacingField f;
  if (rule == kLineSpacingAtLeast || rule == kLineSpacingExactly) {
    f.value = current < 0.001 ? 12 : current;
    f.suffix = " pt";
    f.step = 1;
  } else if (rule == kLineSpacingMultiple) {
    f.value = (chosen || current < 0.001) ? 3 : current;
    f.step = 0.5;
  } else {
    f.empty = true;
    f.suffix = " pt";
  }
  return f;
}

bool typingSwitchesToMultiple(int32_t rule) {
  return rule == kLineSpacingSingle || rule == kLineSpacingOneAndHalf || rule == kLineSpacingDouble;
}

int32_t fontPositionFrom(int32_t type, double magnitude) {
  const auto whole = static_cast<int32_t>(roundToStep(std::abs(magnitude), 1));
  return type == 1 ? whole : type == 2 ? -whole : 0;
}

double fontSpacingFrom(int32_t type, double magnitude) {
  const double m = std::abs(magnitude);
  return type == 1 ? m : type == 2 ? -m : 0;
}

}  // namespace kelvara::format
