#include "config/SettingsWriter.h"

#include "config/KeyIo.h"
#include "config/SettingsKeys.h"

namespace kelvara::config {

void SaveConfigurationData(IniFile& ini, const Settings& settings, const platform::Locale& locale) {
  KeyWriter io(ini, locale);
  const Settings d;
  io.boolean(kOptionsSection, "SingleFile", settings.SingleFile);
  keys::visitOptions(io, settings, d);
  keys::visitTextOptions(io, settings, d);
  keys::visitSessionSwitches(io, settings);
  keys::visitUserData(io, settings, d);
  keys::visitExternalPrograms(io, settings, d);
  keys::visitConversionOptions(io, settings, d, settings.NewFilesDate);
}

void SavePageValues(IniFile& ini, const format::FormatParameterSet& params,
                    const platform::Locale& locale, bool withOrientation) {
  KeyWriter io(ini, locale);
  const format::FormatParameterSet d;
  keys::visitPageSet(io, params.Portrait, d.Portrait, kPortraitSetName);
  keys::visitPageSet(io, params.Landscape, d.Landscape, kLandscapeSetName);
  keys::visitGeneralPage(io, params.General, d.General, withOrientation);
}

void SaveParagraphValues(IniFile& ini, const format::FormatParameterSet& params,
                         const platform::Locale& locale) {
  KeyWriter io(ini, locale);
  const format::FormatParameterSet d;
  keys::visitParagraph(io, params.Paragraph, d.Paragraph);
}

void SaveFontValues(IniFile& ini, const format::FormatParameterSet& params,
                    const platform::Locale& locale) {
  KeyWriter io(ini, locale);
  const format::FormatParameterSet d;
  keys::visitFont(io, params.Font, d.Font);
}

void SaveParameterFlags(IniFile& ini, const format::FormatParameterSet& params,
                        const std::string& wordVersion) {
  const platform::Locale locale;
  KeyWriter io(ini, locale);
  const format::FormatParameterSet d;
  keys::visitPageSetFlags(io, params.Portrait.flags, d.Portrait.flags, kPortraitSetName);
  keys::visitPageSetFlags(io, params.Landscape.flags, d.Landscape.flags, kLandscapeSetName);
  keys::visitGeneralPageFlags(io, params.General.flags, d.General.flags);
  keys::visitParagraphFlags(io, params.Paragraph.flags, d.Paragraph.flags);
  keys::visitFontFlags(io, params.Font.flags, d.Font.flags);
  keys::visitUserDataFlags(io, params.UserData, d.UserData);
  if (hasRevisionFlags(wordVersion)) {
    keys::visitRevisionFlags(io, params.Revisions.flags, d.Revisions.flags);
  }
}

void WriteDateKey(IniFile& ini, const std::string& section, const std::string& key,
                  const platform::DateTime& value, const platform::Locale& locale) {
  ini.writeString(section, key, locale.formatShortDate(value));
}

void WriteDateTimeKey(IniFile& ini, const std::string& section, const std::string& key,
                      const platform::DateTime& value, const platform::Locale& locale) {
  ini.writeString(section, key, locale.formatDateTime(value));
}

void WriteQuotedKey(IniFile& ini, const std::string& section, const std::string& key,
                    const std::string& value) {
  ini.writeString(section, key, "\"" + value + "\"");
}

}  // namespace kelvara::config
