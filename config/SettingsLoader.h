#pragma once

#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/LoadNotice.h"
#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace kelvara::config {

inline constexpr const char* kWrongUnitMessage = "Wrong measurement unit value. Set to Inches";
inline constexpr const char* kFontGrowShrinkMessage = "Font Grow and Shrink both not 0: set to 0";
inline constexpr const char* kWarningTitle = "Warning";

// Start-up load of the whole configuration into the settings and the formatting parameters.
// Values the command line preset win: InpPath, InpFileName and OutPath are read only when empty,
// the format indexes only while they hold kFormatNotGiven. wordVersion decides whether the
// revision flags are read; now gives the date defaults. Returns the messages for the operator,
// in the order they arose.
std::vector<LoadNotice> LoadAllSettings(const IniFile& ini, Settings& settings,
                                        format::FormatParameterSet& params,
                                        const platform::Locale& locale,
                                        const std::string& wordVersion,
                                        const platform::DateTime& now);

// The group loads, also used to drop a dialog's edits on Cancel.
std::vector<LoadNotice> LoadPageValues(const IniFile& ini, format::FormatParameterSet& params,
                                       const platform::Locale& locale);
std::vector<LoadNotice> LoadParagraphValues(const IniFile& ini, format::FormatParameterSet& params,
                                            const platform::Locale& locale);
// Also clears shrink and grow when both are set.
std::vector<LoadNotice> LoadFontValues(const IniFile& ini, format::FormatParameterSet& params,
                                       const platform::Locale& locale);
// Every enable flag: page, paragraph, font, user data and (for versions "10.0" and "11.0")
// revisions; with other versions the revision flags are false.
std::vector<LoadNotice> LoadParameterFlags(const IniFile& ini, format::FormatParameterSet& params,
                                           const std::string& wordVersion);

}  // namespace kelvara::config
