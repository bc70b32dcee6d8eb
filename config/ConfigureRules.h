#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"

namespace kelvara::config {

// Rules of the configuration dialog that hold without any widget.

// Units of the size filters' lists (ByteKbyte1, ByteKbyte2).
inline constexpr int32_t kSizeInBytes = 0;
inline constexpr int32_t kSizeInKbytes = 1;

// The number a size field shows for a size in bytes: whole Kbytes when the unit says so.
int64_t ShownSize(int64_t bytes, int32_t unit);
// The bytes a shown number stands for; saturates instead of wrapping past the 64-bit range.
int64_t StoredSize(int64_t shown, int32_t unit);
// The number shown after the unit list changes from one unit to the other.
int64_t ConvertShownSize(int64_t shown, int32_t fromUnit, int32_t toUnit);
// A size field's text: digits only, else 0 (an empty or unreadable field reads as 0); values past
// the 64-bit range read as its maximum.
int64_t ParseShownSize(const std::string& text);

// The date written to outputs in the fixed-date mode: the picked day at the picked time of day,
// or at the time of day of `now` when the operator did not pick one.
platform::DateTime ComposeNewFilesDate(const platform::DateTime& pickedDate, bool timePicked,
                                       const platform::DateTime& pickedTime,
                                       const platform::DateTime& now);

// Which of "None" (0), "Rename files before overwriting" (1) and "Add version number to latest
// copy" (2) shows as chosen: a later set flag wins; with none set, "None".
int32_t VersionControlChoice(bool noVersionNum, bool renBeforeOverWr, bool addVersNum);

// Whether the office version offers the removal of personal information.
bool OffersPersonalInfoRemoval(const std::string& wordVersion);

}  // namespace kelvara::config
