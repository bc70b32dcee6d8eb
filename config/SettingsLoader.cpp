#include "config/SettingsLoader.h"

#include "config/KeyIo.h"
#include "config/SettingsKeys.h"

namespace kelvara::config {
namespace {

std::string trimBlanks(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) {
    return {};
  }
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

void addTrailingSlash(std::string& path) {
  if (!path.empty() && path.back() != '/') {
    path += '/';
  }
}

void loadPaths(KeyReader& io, Settings& s) {
  const std::string sec = kConfigurationDataSection;
  if (s.InpPath.empty()) {
    io.text(sec, "InpPath", s.InpPath, "");
    s.InpPath = trimBlanks(s.InpPath);
  }
  if (s.InpFileName.empty()) {
    io.text(sec, "InpFileName", s.InpFileName, "*.*");
  }
  if (s.OutPath.empty()) {
    io.text(sec, "OutPath", s.OutPath, "");
    s.OutPath = trimBlanks(s.OutPath);
  }
  if (s.InpFormatIndex == kFormatNotGiven) {
    io.integer(sec, "InpFormatIndex", s.InpFormatIndex, 0, 0);
  }
  if (s.OutFormatIndex == kFormatNotGiven) {
    io.integer(sec, "OutFormatIndex", s.OutFormatIndex, 0, 0);
  }
  addTrailingSlash(s.InpPath);
  addTrailingSlash(s.OutPath);
}

// Exactly one version-control mode holds; with several set, the one the configuration dialog
// would show (the last of None, Rename, Add number) wins.
void settleVersionControl(KeyReader& io, Settings& s) {
  const int set = int{s.NoVersionNum} + int{s.RenBeforeOverWr} + int{s.AddVersNum};
  if (set == 0) {
    s.NoVersionNum = true;
    return;
  }
  if (set == 1) {
    return;
  }
  const char* kept = s.AddVersNum ? "AddVersNum" : "RenBeforeOverWr";
  io.notice(std::string("Kelva.ini: [") + kConversionOptionsSection +
                "] more than one of NoVersionNum, RenBeforeOverWr and AddVersNum is set; " + kept +
                " is used",
            kConfigNoticeTitle);
  s.NoVersionNum = false;
  s.RenBeforeOverWr = !s.AddVersNum;
}

void loadPageValues(KeyReader& io, format::FormatParameterSet& p) {
  const format::FormatParameterSet d;
  keys::visitPageSet(io, p.Portrait, d.Portrait, kPortraitSetName);
  keys::visitPageSet(io, p.Landscape, d.Landscape, kLandscapeSetName);
  keys::visitGeneralPage(io, p.General, d.General, true);
}

void loadParagraphValues(KeyReader& io, format::FormatParameterSet& p) {
  const format::FormatParameterSet d;
  keys::visitParagraph(io, p.Paragraph, d.Paragraph);
}

void loadFontValues(KeyReader& io, format::FormatParameterSet& p) {
  const format::FormatParameterSet d;
  keys::visitFont(io, p.Font, d.Font);
  if (p.Font.FontShrink != 0 && p.Font.FontGrow != 0) {
    io.notice(kFontGrowShrinkMessage, kWarningTitle);
    p.Font.FontShrink = 0;
    p.Font.FontGrow = 0;
  }
}

void loadParameterFlags(KeyReader& io, format::FormatParameterSet& p,
                        const std::string& wordVersion) {
  const format::FormatParameterSet d;
  keys::visitPageSetFlags(io, p.Portrait.flags, d.Portrait.flags, kPortraitSetName);
  keys::visitPageSetFlags(io, p.Landscape.flags, d.Landscape.flags, kLandscapeSetName);
  keys::visitGeneralPageFlags(io, p.General.flags, d.General.flags);
  keys::visitParagraphFlags(io, p.Paragraph.flags, d.Paragraph.flags);
  keys::visitFontFlags(io, p.Font.flags, d.Font.flags);
  keys::visitUserDataFlags(io, p.UserData, d.UserData);
  if (hasRevisionFlags(wordVersion)) {
    keys::visitRevisionFlags(io, p.Revisions.flags, d.Revisions.flags);
  } else {
    p.Revisions.flags = format::RevisionSetup::Flags{false, false, false};
  }
}

}  // namespace

std::vector<LoadNotice> LoadAllSettings(const IniFile& ini, Settings& settings,
                                        format::FormatParameterSet& params,
                                        const platform::Locale& locale,
                                        const std::string& wordVersion,
                                        const platform::DateTime& now) {
  std::vector<LoadNotice> notices;
  KeyReader io(ini, locale, notices);
  const Settings d;

  loadPaths(io, settings);
  keys::visitInputSelection(io, settings, d);
  keys::visitUserData(io, settings, d);
  keys::visitExternalPrograms(io, settings, d);
  keys::visitOptions(io, settings, d);
  if (settings.MeasurementUnits < 0 || settings.MeasurementUnits > 4) {
    io.notice(kWrongUnitMessage, kApplicationTitle);
    settings.MeasurementUnits = 0;
  }
  keys::visitConversionOptions(io, settings, d, now);
  settleVersionControl(io, settings);
  keys::visitTextOptions(io, settings, d);
  keys::visitSessionSwitches(io, settings);

  loadPageValues(io, params);
  loadParagraphValues(io, params);
  loadFontValues(io, params);
  loadParameterFlags(io, params, wordVersion);
  return notices;
}

namespace {

// Runs one group load on its own, as the dialogs do when an edit is cancelled.
template <class Load>
std::vector<LoadNotice> loadGroup(const IniFile& ini, const platform::Locale& locale, Load load) {
  std::vector<LoadNotice> notices;
  KeyReader io(ini, locale, notices);
  load(io);
  return notices;
}

}  // namespace

std::vector<LoadNotice> LoadPageValues(const IniFile& ini, format::FormatParameterSet& params,
                                       const platform::Locale& locale) {
  return loadGroup(ini, locale, [&](KeyReader& io) { loadPageValues(io, params); });
}

std::vector<LoadNotice> LoadParagraphValues(const IniFile& ini, format::FormatParameterSet& params,
                                            const platform::Locale& locale) {
  return loadGroup(ini, locale, [&](KeyReader& io) { loadParagraphValues(io, params); });
}

std::vector<LoadNotice> LoadFontValues(const IniFile& ini, format::FormatParameterSet& params,
                                       const platform::Locale& locale) {
  return loadGroup(ini, locale, [&](KeyReader& io) { loadFontValues(io, params); });
}

std::vector<LoadNotice> LoadParameterFlags(const IniFile& ini, format::FormatParameterSet& params,
                                           const std::string& wordVersion) {
  const platform::Locale locale;  // flags hold no locale-dependent values
  return loadGroup(ini, locale,
                   [&](KeyReader& io) { loadParameterFlags(io, params, wordVersion); });
}

}  // namespace kelvara::config
