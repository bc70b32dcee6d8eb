#include "format/MeasurementUnits.h"

#include <algorithm>
#include <cmath>

namespace kelvara::format {

const MeasurementUnit* measurementUnit(int32_t units) {
  if (units < 0 || units >= static_cast<int32_t>(kMeasurementUnits.size())) {
    return nullptr;
  }
  return &kMeasurementUnits[static_cast<size_t>(units)];
}

double editorStep(int32_t units) {
  const MeasurementUnit* u = measurementUnit(units);
  return u ? u->editorStep : 0.1;
}

double editorRounding(int32_t units) {
  const MeasurementUnit* u = measurementUnit(units);
  return u ? u->editorRounding : 0.01;
}

double roundToStep(double value, double step) {
  if (step <= 0 || !std::isfinite(value)) {
    return value;
  }
  // Dividing by the whole number of steps per unit keeps 17.28 exactly 17.28 (17.28 * 100 would
  // not come back as the closest double).
  const double perUnit = std::round(1.0 / step);
  const bool wholeSteps = std::abs(perUnit * step - 1.0) < 1e-12;
  const double scaled = wholeSteps ? value * perUnit : value / step;
  // A decimal half such as 0.235 is not exact in binary; treat what is within rounding noise of
  // a half as the half, so that it goes to the even neighbour as written.
  const double lower = std::floor(scaled);
  double n;
  if (std::abs(scaled - (lower + 0.5)) <= 1e-9 * std::max(1.0, std::abs(scaled))) {
    n = std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
  } else {
    n = std::round(scaled);
  }
  return wholeSteps ? n / perUnit : n * step;
}

}  // namespace kelvara::format
