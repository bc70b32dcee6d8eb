#pragma once

#include <string>

#include "config/IniFile.h"
#include "config/Settings.h"
#include "format/FormatParameterSet.h"
#include "platform/DateTime.h"
#include "platform/Locale.h"

namespace kelvara::config {

// Writers of whole groups, key by key, each key on disk when its write returns. All of them throw
// IniWriteError at the first key the system refuses; the keys before it stay written.

// The configuration dialog's keys of "Options", "User Data", "External Programs" and
// "Conversion Options", from the values in memory.
void SaveConfigurationData(IniFile& ini, const Settings& settings, const platform::Locale& locale);
// Both orientation records (width and height only for a custom paper size) and the document-wide
// page values; the orientation only when the dialog offers it.
void SavePageValues(IniFile& ini, const format::FormatParameterSet& params,
                    const platform::Locale& locale, bool withOrientation);
void SaveParagraphValues(IniFile& ini, const format::FormatParameterSet& params,
                         const platform::Locale& locale);
void SaveFontValues(IniFile& ini, const format::FormatParameterSet& params,
                    const platform::Locale& locale);
// Every enable flag; the revision flags only for versions "10.0" and "11.0".
void SaveParameterFlags(IniFile& ini, const format::FormatParameterSet& params,
                        const std::string& wordVersion);

// Single keys whose text form needs more than IniFile's typed writers.
void WriteDateKey(IniFile& ini, const std::string& section, const std::string& key,
                  const platform::DateTime& value, const platform::Locale& locale);
void WriteDateTimeKey(IniFile& ini, const std::string& section, const std::string& key,
                      const platform::DateTime& value, const platform::Locale& locale);
// In double quotes, so that leading and trailing blanks survive.
void WriteQuotedKey(IniFile& ini, const std::string& section, const std::string& key,
                    const std::string& value);

}  // namespace kelvara::config
