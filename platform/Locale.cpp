#include "platform/Locale.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <system_error>

namespace kelvara::platform {
namespace {

std::string langInfo(int category, const char* localeName, nl_item item, const char* fallback) {
  // A private locale object keeps the process-wide locale untouched.
  locale_t loc = newlocale(category, localeName, static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) {
    loc = newlocale(category, "C", static_cast<locale_t>(nullptr));
  }
  if (loc == static_cast<locale_t>(nullptr)) {
    return fallback;
  }
  const char* v = nl_langinfo_l(item, loc);
  std::string result = (v != nullptr && *v != '\0') ? std::string(v) : std::string(fallback);
  freelocale(loc);
  return result;
}

// Two-digit years would wrap dates outside 1969..2068 when they are stored and read back.
std::string withFullYear(std::string pattern) {
  for (size_t i = 0; i + 1 < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      continue;
    }
    if (pattern[i + 1] == 'y') {
      pattern[i + 1] = 'Y';
    } else if (pattern[i + 1] == 'D') {
      pattern.replace(i, 2, "%m/%d/%Y");
    }
    ++i;
  }
  return pattern;
}

std::string format(const std::string& pattern, const DateTime& dt) {
  if (pattern.empty()) {
    return {};
  }
  const std::tm tm = toTm(dt);
  char buf[256];
  const size_t n = std::strftime(buf, sizeof buf, pattern.c_str(), &tm);
  return std::string(buf, n);
}

bool onlyBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') {
    ++p;
  }
  return *p == '\0';
}

bool validDate(const std::tm& tm) {
  const std::chrono::year_month_day ymd{std::chrono::year{tm.tm_year + 1900},
                                        std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)},
                                        std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
  return ymd.ok();
}

// Parses the date part; returns where the text continues, or nullptr.
const char* parseDatePart(const std::string& pattern, const char* text, std::tm& tm) {
  tm = std::tm{};
  tm.tm_mday = 1;
  const char* end = strptime(text, pattern.c_str(), &tm);
  if (end == nullptr || !validDate(tm)) {
    return nullptr;
  }
  return end;
}

}  // namespace

Locale Locale::fromEnvironment() {
  Locale l;
  l.shortDateFormat = withFullYear(langInfo(LC_TIME_MASK, "", D_FMT, "%m/%d/%Y"));
  l.longTimeFormat = langInfo(LC_TIME_MASK, "", T_FMT, "%H:%M:%S");
  const std::string radix = langInfo(LC_NUMERIC_MASK, "", RADIXCHAR, ".");
  // A multi-byte separator cannot be represented; the point is always understood.
  l.decimalSeparator = radix.size() == 1 ? radix[0] : '.';
  return l;
}

std::string Locale::formatShortDate(const DateTime& dt) const {
  return format(shortDateFormat, dt);
}

std::string Locale::formatLongTime(const DateTime& dt) const {
  return format(longTimeFormat, dt);
}

std::string Locale::formatDateTime(const DateTime& dt) const {
  if (dt.isMidnight()) {
    return formatShortDate(dt);
  }
  return formatShortDate(dt) + " " + formatLongTime(dt);
}

std::optional<DateTime> Locale::parseShortDate(const std::string& text) const {
  std::tm tm{};
  const char* end = parseDatePart(shortDateFormat, text.c_str(), tm);
  if (end == nullptr || !onlyBlanks(end)) {
    return std::nullopt;
  }
  return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, 0, 0, 0};
}

std::optional<DateTime> Locale::parseDateTime(const std::string& text) const {
  std::tm tm{};
  const char* end = parseDatePart(shortDateFormat, text.c_str(), tm);
  if (end == nullptr) {
    return std::nullopt;
  }
  DateTime dt{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, 0, 0, 0};
  if (onlyBlanks(end)) {
    return dt;
  }
  if (*end != ' ') {
    return std::nullopt;
  }
  std::tm t{};
  const char* timeEnd = strptime(end, longTimeFormat.c_str(), &t);
  if (timeEnd == nullptr || !onlyBlanks(timeEnd) || t.tm_hour < 0 || t.tm_hour > 23 ||
      t.tm_min < 0 || t.tm_min > 59 || t.tm_sec < 0 || t.tm_sec > 59) {
    return std::nullopt;
  }
  dt.hour = t.tm_hour;
  dt.minute = t.tm_min;
  dt.second = t.tm_sec;
  return dt;
}

std::string Locale::formatFloat(double value) const {
  if (value == 0) {
    return "0";  // also for -0
  }
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string s(buf, res.ptr);
  for (char& c : s) {
    if (c == '.') {
      c = decimalSeparator;
    }
  }
  return s;
}

std::optional<double> Locale::parseFloat(const std::string& text) const {
  size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) {
    return std::nullopt;
  }
  size_t e = text.find_last_not_of(" \t") + 1;
  std::string s = text.substr(b, e - b);
  if (decimalSeparator != '.') {
    if (s.find('.') != std::string::npos) {
      return std::nullopt;  // a point is not this locale's separator
    }
    for (char& c : s) {
      if (c == decimalSeparator) {
        c = '.';
      }
    }
  }
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && (*first == '-' || *first == '+')) {
      return std::nullopt;
    }
  }
  double v = 0;
  const auto res = std::from_chars(first, last, v, std::chars_format::general);
  if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

}  // namespace kelvara::platform
