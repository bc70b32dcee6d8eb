#include "word/lo/FontSizeSteps.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvara::word::lo {
namespace {

constexpr std::array<double, 16> kSizes = {8,  9,  10, 11, 12, 14, 16, 18,
                                           20, 22, 24, 26, 28, 36, 48, 72};
// The largest size the office (and Word) accepts.
constexpr double kLargest = 1638;
// Sizes are compared at the office's precision (1/100 point), so that 11.999 counts as 12.
constexpr double kEpsilon = 0.005;

}  // namespace

double shrunkFontSize(double size) {
  if (size > 80 + kEpsilon) {
    return std::min(kLargest, std::ceil(size / 10 - kEpsilon / 10) * 10 - 10);
  }
  if (size > 72 + kEpsilon) {
    return 72;
  }
  if (size > 8 + kEpsilon) {
    const auto next = std::lower_bound(kSizes.begin(), kSizes.end(), size - kEpsilon);
    return *(next - 1);
  }
  return std::max(1.0, std::ceil(size - kEpsilon) - 1);
}

double grownFontSize(double size) {
  if (size < 8 - kEpsilon) {
    return std::max(1.0, std::floor(size + kEpsilon) + 1);
  }
  if (size < 72 - kEpsilon) {
    return *std::upper_bound(kSizes.begin(), kSizes.end(), size + kEpsilon);
  }
  return std::min(kLargest, std::floor(size / 10 + kEpsilon / 10) * 10 + 10);
}

double steppedFontSize(double size, int steps) {
  for (; steps > 0; --steps) {
    size = grownFontSize(size);
  }
  for (; steps < 0; ++steps) {
    size = shrunkFontSize(size);
  }
  return size;
}

}  // namespace kelvara::word::lo
