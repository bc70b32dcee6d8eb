#pragma once

#include <optional>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::platform {

// The user's date, time and number formats. The core receives them as a value so that tests can
// pin them; fromEnvironment() reads LC_TIME and LC_NUMERIC.
struct Locale {
  std::string shortDateFormat = "%Y-%m-%d";  // strftime/strptime pattern
  std::string longTimeFormat = "%H:%M:%S";
  char decimalSeparator = '.';

  static Locale fromEnvironment();

  std::string formatShortDate(const DateTime& dt) const;
  std::string formatLongTime(const DateTime& dt) const;
  // Short date, a blank and the long time; the time is left out when it is exactly midnight.
  std::string formatDateTime(const DateTime& dt) const;
  std::optional<DateTime> parseShortDate(const std::string& text) const;
  // A short date optionally followed by a blank and a long time.
  std::optional<DateTime> parseDateTime(const std::string& text) const;

  // Shortest general form with up to 15 significant digits and this locale's separator.
  std::string formatFloat(double value) const;
  // The whole text must be a number in this locale's form.
  std::optional<double> parseFloat(const std::string& text) const;
};

}  // namespace kelvara::platform
