#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace kelvara::platform {

// 100-nanosecond intervals since 1601-01-01 UTC: the file-time unit the metadata rules use.
using FileTime = int64_t;

// A broken-down local date and time, as the operator sees and types it.
struct DateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
  DateTime dateOnly() const { return DateTime{year, month, day, 0, 0, 0}; }
  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

// The current local date and time.
DateTime now();
// Local broken-down time of a Unix time, and back (mktime; nullopt when not representable).
DateTime fromUnixLocal(std::time_t t);
std::optional<std::time_t> toUnixLocal(const DateTime& dt);
// The C library's form, with weekday and day of the year filled in and DST left to the rules.
std::tm toTm(const DateTime& dt);
// Calendar arithmetic: months clamp the day to the target month's length.
DateTime addDays(const DateTime& dt, int days);
DateTime addMonths(const DateTime& dt, int months);
DateTime addYears(const DateTime& dt, int years);

FileTime unixToFileTime(std::time_t seconds, long nanoseconds = 0);
// Local date-time to a UTC file time (0 when the date cannot be represented).
FileTime localToFileTime(const DateTime& dt);
// A file time as the local date and time (whole seconds); nullopt outside time_t's range.
std::optional<DateTime> fileTimeToLocal(FileTime time);

}  // namespace kelvara::platform
