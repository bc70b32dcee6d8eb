#pragma once

#include <cstdint>
#include <string>

namespace kelvara::config {

// Sections of Kelva.ini.
inline constexpr const char* kConfigurationDataSection = "Configuration Data";
inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kUserDataSection = "User Data";
inline constexpr const char* kExternalProgramsSection = "External Programs";
inline constexpr const char* kConversionOptionsSection = "Conversion Options";
// Joined with a set name: "Portrait", "Landscape" or "General" (note the trailing blanks).
inline constexpr const char* kPageSetupSection = "Page Setup ";
inline constexpr const char* kPageFlagsSetupSection = "Page Flags Setup ";
inline constexpr const char* kParagraphSetupSection = "Paragraph Setup ";
inline constexpr const char* kFontSetupSection = "Font Setup";
// The flags have sections of their own: their key names overlap with the values' key names.
inline constexpr const char* ParagraphFlagsSection = "Paragraph Flags Setup";
inline constexpr const char* FontFlagsSection = "Font Flags Setup";
inline constexpr const char* kUserDataFlagsSection = "User Data Setup";
inline constexpr const char* kRevisionsFlagsSection = "Revisions Data Setup";

inline constexpr const char* kPortraitSetName = "Portrait";
inline constexpr const char* kLandscapeSetName = "Landscape";
inline constexpr const char* kGeneralSetName = "General";

inline std::string pageSetupSection(const std::string& setName) {
  return kPageSetupSection + setName;
}
inline std::string pageFlagsSection(const std::string& setName) {
  return kPageFlagsSetupSection + setName;
}

// Paper size code of a custom page, the only one whose width and height are stored.
inline constexpr int32_t kCustomPaperSize = 41;

// Engine versions whose revision switches are loaded and stored.
inline bool hasRevisionFlags(const std::string& wordVersion) {
  return wordVersion == "10.0" || wordVersion == "11.0";
}

}  // namespace kelvara::config
