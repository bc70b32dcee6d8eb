#include "run/FileFilters.h"

#include <algorithm>

#include "metadata/AttributeText.h"
#include "platform/DosAttributes.h"
#include "platform/FileInfo.h"
#include "platform/FileSystem.h"

namespace kelvara::run {
namespace {

// The four attributes the filter looks at.
constexpr uint32_t kFilteredBits =
    platform::kDosReadOnly | platform::kDosHidden | platform::kDosSystem | platform::kDosArchive;
// What a failed attribute read returns on the system this program came from.
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFFu;

enum Requirement { kMustBeOn = 0, kMustBeOff = 1 };

bool attributeTestOn(const config::Settings& s) {
  if (!s.IncludeFilesAttributes) {
    return false;
  }
  for (int32_t r : {s.IncludeReadOnly, s.IncludeHidden, s.IncludeSystem, s.IncludeArchive}) {
    if (r == kMustBeOn || r == kMustBeOff) {
      return true;
    }
  }
  return false;
}

bool dateTestOn(const config::Settings& s) {
  return s.IncludeFileDate || s.IncludeFilesNewerThen || s.IncludeOlderThen;
}

void require(int32_t requirement, uint32_t bit, uint32_t& on, uint32_t& off) {
  if (requirement == kMustBeOn) {
    on |= bit;
  } else if (requirement == kMustBeOff) {
    off |= bit;
  }
}

std::optional<std::string> attributeLine(const std::string& prefix, const FileFacts& facts,
                                         const config::Settings& s) {
  uint32_t on = 0;
  uint32_t off = 0;
  require(s.IncludeReadOnly, platform::kDosReadOnly, on, off);
  require(s.IncludeHidden, platform::kDosHidden, on, off);
  require(s.IncludeSystem, platform::kDosSystem, on, off);
  require(s.IncludeArchive, platform::kDosArchive, on, off);
  const uint32_t found = facts.attributes.value_or(kInvalidAttributes) & kFilteredBits;
  if ((found & on) == on && (found & off) == 0) {
    return std::nullopt;
  }
  return prefix + "Attributes - Found: " + metadata::AttributeText(found) + ", required: on " +
         metadata::AttributeText(on) + " off" + metadata::AttributeText(off);
}

std::optional<std::string> dateLine(const std::string& prefix, const FileFacts& facts,
                                    const config::Settings& s, const platform::DateTime& now,
                                    const platform::Locale& locale) {
  // An unknown date shows as the zero date, the value it stands for.
  const platform::DateTime date = facts.created.value_or(platform::DateTime{});
  const std::string found = prefix + "Date - Found: " + locale.formatDateTime(date);
  const platform::DateTime day = date.dateOnly();

  if (s.IncludeFileDate && facts.created) {
    if (day < s.FromDate.dateOnly()) {
      return found + ", required from: " + locale.formatDateTime(s.FromDate);
    }
    if (day > s.ToDate.dateOnly()) {
      return found + ", required to: " + locale.formatDateTime(s.ToDate);
    }
  }

  const platform::DateTime newer = AgeLimit(now, s.NewerCnt, s.NewerType);
  const platform::DateTime older = AgeLimit(now, s.OlderCnt, s.OlderType);
  // A date that cannot be compared fails an age test.
  const bool notNewer = s.IncludeFilesNewerThen && (!facts.created || day < newer.dateOnly());
  const bool notOlder = s.IncludeOlderThen && (!facts.created || day > older.dateOnly());
  const std::string newerText = ", required newer then: " + locale.formatDateTime(newer);
  const std::string olderText = ", required older then: " + locale.formatDateTime(older);
  if (s.IncludeFilesNewerThen && s.IncludeOlderThen) {
    // Either age lets the file pass.
    if (notNewer && notOlder) {
      return found + newerText + olderText;
    }
    return std::nullopt;
  }
  if (notNewer) {
    return found + newerText;
  }
  if (notOlder) {
    return found + olderText;
  }
  return std::nullopt;
}

std::optional<std::string> sizeLine(const std::string& prefix, const FileFacts& facts,
                                    const config::Settings& s) {
  const std::string found = prefix + "Size - Found: " + std::to_string(facts.size);
  if (s.IncludeFilesAtLeastesAttr && facts.size < s.FileMinSize) {
    return found + ", required no smaller then: " + std::to_string(s.FileMinSize);
  }
  if (s.IncludeFilesNoLargerAttr && facts.size > s.FileMaxSize) {
    return found + ", required no larger then: " + std::to_string(s.FileMaxSize);
  }
  return std::nullopt;
}

}  // namespace

FileFacts ReadFileFacts(const std::string& path, const config::Settings& settings) {
  FileFacts facts;
  if (attributeTestOn(settings)) {
    facts.attributes = platform::fileAttributes(path);
  }
  if (dateTestOn(settings)) {
    if (const std::optional<platform::FileTime> created = platform::creationTime(path)) {
      facts.created = platform::fileTimeToLocal(*created);
    }
  }
  if (settings.IncludeFilesAtLeastesAttr || settings.IncludeFilesNoLargerAttr) {
    facts.size = platform::fileSize(path);
  }
  return facts;
}

platform::DateTime AgeLimit(const platform::DateTime& now, int32_t count, int32_t unit) {
  // A limit before the first year of the calendar is that year: every file is newer.
  const int64_t monthsToYearOne = int64_t{now.year - 1} * 12 + now.month - 1;
  const int64_t daysToYearOne = monthsToYearOne * 30;
  const int64_t n = std::max<int64_t>(count, 0);
  switch (unit) {
    case 1:
      return platform::addDays(now, -static_cast<int>(std::min(7 * n, daysToYearOne)));
    case 2:
      return platform::addMonths(now, -static_cast<int>(std::min(n, monthsToYearOne)));
    case 3:
      return platform::addMonths(now, -static_cast<int>(std::min(12 * n, monthsToYearOne)));
    default:
      return platform::addDays(now, -static_cast<int>(std::min(n, daysToYearOne)));
  }
}

std::optional<std::string> FilterSkipLine(const std::string& path, const FileFacts& facts,
                                          const config::Settings& settings,
                                          const platform::DateTime& now,
                                          const platform::Locale& locale) {
  const std::string prefix = "File " + path + " Skipped due filter settings. ";
  if (attributeTestOn(settings)) {
    if (auto line = attributeLine(prefix, facts, settings)) {
      return line;
    }
  }
  if (auto line = dateLine(prefix, facts, settings, now, locale)) {
    return line;
  }
  return sizeLine(prefix, facts, settings);
}

}  // namespace kelvara::run
