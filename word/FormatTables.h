#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"

namespace kelvara::word {

// The newest format generation of the tables. An engine of this generation reads and writes
// the current Word formats, and its version() reports this text.
inline constexpr const char* kCurrentGeneration = "12.0";
// The LibreOffice engine tracks revisions and removes personal information as the "10.0" and
// "11.0" generations do, so the revision options follow their rules.
inline constexpr const char* kRevisionRulesVersion = "11.0";

// One entry of the input or the output format list: the label "name - (extensions)" and the
// engine's open or save format code.
struct FormatEntry {
  std::string label;
  int32_t code = 0;
};

struct FormatLists {
  std::vector<FormatEntry> input;
  std::vector<FormatEntry> output;
};

// The fixed entries for the engine's format generation followed by its installed converters.
// The positions are what Kelva.ini stores, so the order (duplicates included) never changes.
FormatLists BuildFormatLists(const std::string& version,
                             const std::vector<FileConverter>& converters);

bool IsKnownVersion(const std::string& version);

// "Word Document - (docx)" gives the name "Word Document " (up to and including the blank that
// begins " - (") and the extension list "docx".
std::string LabelName(const std::string& label);
std::string LabelExtensions(const std::string& label);

// "*." + the extension list with every blank replaced by ";*.": "doc dot" gives "*.doc;*.dot".
std::string StandardMask(const std::string& extensions);

// The choices that a run uses, taken from the selected entries.
struct FormatSelection {
  int32_t inputIndex = 0;
  int32_t openFormat = 0;
  std::string inputFormatName;
  std::string inputExtensions;
  int32_t outputIndex = 0;
  int32_t saveFormat = 0;
  std::string outputFormatName;
  std::string OutExt;
};

// Picks the entries at the given positions; false when a position lies outside its list.
bool SelectFormats(const FormatLists& lists, int32_t inputIndex, int32_t outputIndex,
                   FormatSelection& selection);

}  // namespace kelvara::word
