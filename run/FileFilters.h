#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/Settings.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace kelvara::run {

// What the selection filters know of a file.
struct FileFacts {
  // The DOS attribute word; absent when it could not be read, and then tested as all bits set.
  std::optional<uint32_t> attributes;
  // The local creation date and time; absent when it could not be read.
  std::optional<platform::DateTime> created;
  int64_t size = -1;  // -1 when it could not be read
};

// Reads what the enabled filters of the settings need, and nothing else.
FileFacts ReadFileFacts(const std::string& path, const config::Settings& settings);

// now minus count units of unit (0 days, 1 weeks, 2 months, 3 years); a month back from the
// 31st is the last day of the shorter month.
platform::DateTime AgeLimit(const platform::DateTime& now, int32_t count, int32_t unit);

// The filters in their fixed order: attributes, date range, age, minimum and maximum size. The
// skipped-files line of the first one the file fails, or nullopt when the file is to be
// converted. Dates compare by calendar day.
std::optional<std::string> FilterSkipLine(const std::string& path, const FileFacts& facts,
                                          const config::Settings& settings,
                                          const platform::DateTime& now,
                                          const platform::Locale& locale);

}  // namespace kelvara::run
