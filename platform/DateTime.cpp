#include "platform/DateTime.h"

#include <chrono>
#include <ctime>

namespace kelvara::platform {
namespace {

// Seconds between 1601-01-01 and 1970-01-01 (UTC).
constexpr int64_t kEpochDifference = 11644473600LL;
constexpr int64_t kTicksPerSecond = 10000000LL;

std::chrono::year_month_day toYmd(const DateTime& dt) {
  return std::chrono::year{dt.year} / std::chrono::month{static_cast<unsigned>(dt.month)} /
         std::chrono::day{static_cast<unsigned>(dt.day)};
}

bool validFields(const DateTime& dt) {
  return toYmd(dt).ok() && dt.hour >= 0 && dt.hour <= 23 && dt.minute >= 0 && dt.minute <= 59 &&
         dt.second >= 0 && dt.second <= 59;
}

DateTime withDate(const DateTime& dt, std::chrono::year_month_day ymd) {
  DateTime r = dt;
  r.year = static_cast<int>(ymd.year());
  r.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  r.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  return r;
}

}  // namespace

DateTime now() {
  return fromUnixLocal(std::time(nullptr));
}

DateTime fromUnixLocal(std::time_t t) {
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) {
    return DateTime{};
  }
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::tm toTm(const DateTime& dt) {
  std::tm tm{};
  tm.tm_year = dt.year - 1900;
  tm.tm_mon = dt.month - 1;
  tm.tm_mday = dt.day;
  tm.tm_hour = dt.hour;
  tm.tm_min = dt.minute;
  tm.tm_sec = dt.second;
  tm.tm_isdst = -1;
  const std::chrono::year_month_day ymd{std::chrono::year{dt.year},
                                        std::chrono::month{static_cast<unsigned>(dt.month)},
                                        std::chrono::day{static_cast<unsigned>(dt.day)}};
  if (ymd.ok()) {
    const std::chrono::sys_days days{ymd};
    tm.tm_wday = static_cast<int>(std::chrono::weekday{days}.c_encoding());
    const std::chrono::sys_days jan1{ymd.year() / std::chrono::January / 1};
    tm.tm_yday = static_cast<int>((days - jan1).count());
  }
  return tm;
}

std::optional<std::time_t> toUnixLocal(const DateTime& dt) {
  if (!validFields(dt)) {
    return std::nullopt;
  }
  std::tm tm = toTm(dt);  // tm_isdst -1: the zone rules of that date decide
  const std::time_t t = mktime(&tm);
  if (t == static_cast<std::time_t>(-1)) {
    // -1 is also one second before the epoch; tell it apart from failure.
    const DateTime back = fromUnixLocal(t);
    if (back != dt) {
      return std::nullopt;
    }
  }
  return t;
}

DateTime addDays(const DateTime& dt, int days) {
  const std::chrono::sys_days d = std::chrono::sys_days{toYmd(dt)} + std::chrono::days{days};
  return withDate(dt, std::chrono::year_month_day{d});
}

DateTime addMonths(const DateTime& dt, int months) {
  const auto ymd = toYmd(dt);
  const std::chrono::year_month ym =
      std::chrono::year_month{ymd.year(), ymd.month()} + std::chrono::months{months};
  const std::chrono::day last =
      std::chrono::year_month_day_last{ym.year(), ym.month() / std::chrono::last}.day();
  const std::chrono::day d = ymd.day() > last ? last : ymd.day();
  return withDate(dt, ym.year() / ym.month() / d);
}

DateTime addYears(const DateTime& dt, int years) {
  return addMonths(dt, years * 12);
}

FileTime unixToFileTime(std::time_t seconds, long nanoseconds) {
  return (static_cast<int64_t>(seconds) + kEpochDifference) * kTicksPerSecond + nanoseconds / 100;
}

FileTime localToFileTime(const DateTime& dt) {
  const std::optional<std::time_t> t = toUnixLocal(dt);
  return t ? unixToFileTime(*t) : 0;
}

std::optional<DateTime> fileTimeToLocal(FileTime time) {
  // Floor division, so that times before 1970 keep their second.
  int64_t seconds = time / kTicksPerSecond;
  if (time % kTicksPerSecond < 0) {
    --seconds;
  }
  seconds -= kEpochDifference;
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  if (static_cast<int64_t>(t) != seconds || localtime_r(&t, &tm) == nullptr) {
    return std::nullopt;
  }
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace kelvara::platform
