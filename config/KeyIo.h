#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/LoadNotice.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace kelvara::config {

// Reads typed keys into fields. A missing key, or empty text, gives the default silently; text
// that cannot be used (not a number, out of range, not a date) gives the default and a notice
// naming the section, the key and the text.
class KeyReader {
 public:
  static constexpr int64_t kNoMin = std::numeric_limits<int64_t>::min();
  static constexpr int64_t kNoMax = std::numeric_limits<int64_t>::max();

  KeyReader(const IniFile& ini, const platform::Locale& locale, std::vector<LoadNotice>& notices)
      : ini_(ini), locale_(locale), notices_(notices) {}

  void text(const std::string& section, const std::string& key, std::string& field,
            const std::string& def);
  void quoted(const std::string& section, const std::string& key, std::string& field,
              const std::string& def) {
    text(section, key, field, def);
  }
  void boolean(const std::string& section, const std::string& key, bool& field, bool def);
  void integer(const std::string& section, const std::string& key, int32_t& field, int32_t def,
               int64_t min = kNoMin, int64_t max = kNoMax);
  // Read at start-up but never written.
  void fixedInteger(const std::string& section, const std::string& key, int32_t& field, int32_t def,
                    int64_t min = kNoMin, int64_t max = kNoMax) {
    integer(section, key, field, def, min, max);
  }
  void int64(const std::string& section, const std::string& key, int64_t& field, int64_t def,
             int64_t min = kNoMin, int64_t max = kNoMax);
  void real(const std::string& section, const std::string& key, double& field, double def);
  void date(const std::string& section, const std::string& key, platform::DateTime& field,
            const platform::DateTime& def);
  void dateTime(const std::string& section, const std::string& key, platform::DateTime& field,
                const platform::DateTime& def);
  // Written, never read: the option starts off at every start.
  void writtenOnly(const std::string&, const std::string&, bool& field) { field = false; }

  void notice(std::string text, std::string title);

 private:
  void readDate(const std::string& section, const std::string& key, platform::DateTime& field,
                const std::string& defText, const platform::DateTime& fallback);
  void unusable(const std::string& section, const std::string& key, const std::string& text,
                const std::string& problem, const std::string& def);
  std::optional<int64_t> number(const std::string& section, const std::string& key,
                                const std::string& def, int64_t min, int64_t max, bool wide);

  const IniFile& ini_;
  const platform::Locale& locale_;
  std::vector<LoadNotice>& notices_;
};

// Writes the same keys from the fields' values.
class KeyWriter {
 public:
  static constexpr int64_t kNoMin = KeyReader::kNoMin;
  static constexpr int64_t kNoMax = KeyReader::kNoMax;

  KeyWriter(IniFile& ini, const platform::Locale& locale) : ini_(ini), locale_(locale) {}

  void text(const std::string& section, const std::string& key, const std::string& value,
            const std::string& = {}) {
    ini_.writeString(section, key, value);
  }
  // Quotes keep leading and trailing blanks.
  void quoted(const std::string& section, const std::string& key, const std::string& value,
              const std::string& = {}) {
    ini_.writeString(section, key, "\"" + value + "\"");
  }
  void boolean(const std::string& section, const std::string& key, bool value, bool = false) {
    ini_.writeBool(section, key, value);
  }
  void integer(const std::string& section, const std::string& key, int32_t value, int32_t = 0,
               int64_t = kNoMin, int64_t = kNoMax) {
    ini_.writeInteger(section, key, value);
  }
  void fixedInteger(const std::string&, const std::string&, int32_t, int32_t = 0, int64_t = kNoMin,
                    int64_t = kNoMax) {}
  void int64(const std::string& section, const std::string& key, int64_t value, int64_t = 0,
             int64_t = kNoMin, int64_t = kNoMax) {
    ini_.writeInteger(section, key, value);
  }
  void real(const std::string& section, const std::string& key, double value, double = 0) {
    ini_.writeFloat(section, key, value, locale_);
  }
  void date(const std::string& section, const std::string& key, const platform::DateTime& value,
            const platform::DateTime& = {}) {
    ini_.writeString(section, key, locale_.formatShortDate(value));
  }
  void dateTime(const std::string& section, const std::string& key, const platform::DateTime& value,
                const platform::DateTime& = {}) {
    ini_.writeString(section, key, locale_.formatDateTime(value));
  }
  void writtenOnly(const std::string& section, const std::string& key, bool value) {
    ini_.writeBool(section, key, value);
  }

 private:
  IniFile& ini_;
  const platform::Locale& locale_;
};

}  // namespace kelvara::config
