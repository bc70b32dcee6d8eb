#include "config/KeyIo.h"

#include <utility>

namespace kelvara::config {
namespace {

std::string rangeText(int64_t min, int64_t max) {
  if (min != KeyReader::kNoMin && max != KeyReader::kNoMax) {
    return "is out of range " + std::to_string(min) + " to " + std::to_string(max);
  }
  if (min != KeyReader::kNoMin) {
    return "is below " + std::to_string(min);
  }
  return "is above " + std::to_string(max);
}

}  // namespace

void KeyReader::notice(std::string text, std::string title) {
  notices_.push_back(LoadNotice{std::move(text), std::move(title)});
}

void KeyReader::unusable(const std::string& section, const std::string& key,
                         const std::string& text, const std::string& problem,
                         const std::string& def) {
  notice("Kelva.ini: [" + section + "] " + key + " = \"" + text + "\" " + problem +
             "; the default " + def + " is used",
         kConfigNoticeTitle);
}

void KeyReader::text(const std::string& section, const std::string& key, std::string& field,
                     const std::string& def) {
  field = ini_.readString(section, key, def);
}

std::optional<int64_t> KeyReader::number(const std::string& section, const std::string& key,
                                         const std::string& def, int64_t min, int64_t max,
                                         bool wide) {
  const std::optional<std::string> v = ini_.read(section, key);
  if (!v || v->empty()) {
    return std::nullopt;
  }
  std::optional<int64_t> n;
  if (wide) {
    n = parseIniInt64(*v);
  } else if (const std::optional<int32_t> n32 = parseIniInteger(*v)) {
    n = *n32;
  }
  if (!n) {
    unusable(section, key, *v, "is not a number", def);
    return std::nullopt;
  }
  if (*n < min || *n > max) {
    unusable(section, key, *v, rangeText(min, max), def);
    return std::nullopt;
  }
  return n;
}

void KeyReader::boolean(const std::string& section, const std::string& key, bool& field, bool def) {
  const std::optional<int64_t> n = number(section, key, def ? "1" : "0", kNoMin, kNoMax, false);
  field = n ? *n != 0 : def;
}

void KeyReader::integer(const std::string& section, const std::string& key, int32_t& field,
                        int32_t def, int64_t min, int64_t max) {
  const std::optional<int64_t> n = number(section, key, std::to_string(def), min, max, false);
  field = n ? static_cast<int32_t>(*n) : def;
}

void KeyReader::int64(const std::string& section, const std::string& key, int64_t& field,
                      int64_t def, int64_t min, int64_t max) {
  const std::optional<int64_t> n = number(section, key, std::to_string(def), min, max, true);
  field = n ? *n : def;
}

void KeyReader::real(const std::string& section, const std::string& key, double& field,
                     double def) {
  field = def;
  const std::optional<std::string> v = ini_.read(section, key);
  if (!v || v->empty()) {
    return;
  }
  if (const std::optional<double> d = locale_.parseFloat(*v)) {
    field = *d;
    return;
  }
  unusable(section, key, *v,
           std::string("is not a number with the decimal separator \"") + locale_.decimalSeparator +
               "\"",
           locale_.formatFloat(def));
}

void KeyReader::date(const std::string& section, const std::string& key, platform::DateTime& field,
                     const platform::DateTime& def) {
  readDate(section, key, field, locale_.formatShortDate(def), def.dateOnly());
}

void KeyReader::dateTime(const std::string& section, const std::string& key,
                         platform::DateTime& field, const platform::DateTime& def) {
  readDate(section, key, field, locale_.formatDateTime(def), def);
}

void KeyReader::readDate(const std::string& section, const std::string& key,
                         platform::DateTime& field, const std::string& defText,
                         const platform::DateTime& fallback) {
  // The default goes through the same text form as a stored value.
  field = locale_.parseDateTime(defText).value_or(fallback);
  const std::optional<std::string> v = ini_.read(section, key);
  if (!v || v->empty()) {
    return;
  }
  if (const std::optional<platform::DateTime> d = locale_.parseDateTime(*v)) {
    field = *d;
    return;
  }
  unusable(section, key, *v, "is not a date like " + defText, defText);
}

}  // namespace kelvara::config
