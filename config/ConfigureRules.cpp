#include "config/ConfigureRules.h"

#include <limits>

namespace kelvara::config {
namespace {

constexpr int64_t kKbyte = 1024;
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

int64_t timesKbyte(int64_t n) {
  if (n > kMax / kKbyte) {
    return kMax;
  }
  if (n < kMin / kKbyte) {
    return kMin;
  }
  return n * kKbyte;
}

}  // namespace

int64_t ShownSize(int64_t bytes, int32_t unit) {
  return unit == kSizeInKbytes ? bytes / kKbyte : bytes;
}

int64_t StoredSize(int64_t shown, int32_t unit) {
  return unit == kSizeInKbytes ? timesKbyte(shown) : shown;
}

int64_t ConvertShownSize(int64_t shown, int32_t fromUnit, int32_t toUnit) {
  if (fromUnit == toUnit) {
    return shown;
  }
  return toUnit == kSizeInKbytes ? shown / kKbyte : timesKbyte(shown);
}

int64_t ParseShownSize(const std::string& text) {
  if (text.empty()) {
    return 0;
  }
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return 0;
    }
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) {
      return kMax;
    }
    value = value * 10 + digit;
  }
  return value;
}

platform::DateTime ComposeNewFilesDate(const platform::DateTime& pickedDate, bool timePicked,
                                       const platform::DateTime& pickedTime,
                                       const platform::DateTime& now) {
  const platform::DateTime& time = timePicked ? pickedTime : now;
  return platform::DateTime{pickedDate.year, pickedDate.month, pickedDate.day,
                            time.hour,       time.minute,      time.second};
}

int32_t VersionControlChoice(bool noVersionNum, bool renBeforeOverWr, bool addVersNum) {
  int32_t choice = 0;
  if (noVersionNum) {
    choice = 0;
  }
  if (renBeforeOverWr) {
    choice = 1;
  }
  if (addVersNum) {
    choice = 2;
  }
  return choice;
}

bool OffersPersonalInfoRemoval(const std::string& wordVersion) {
  return wordVersion == "10.0" || wordVersion == "11.0";
}

}  // namespace kelvara::config
