#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "word/DocumentEngine.h"

namespace kelvara::word::lo {

// How one open format code is loaded. An empty filter name means type detection.
struct OpenFilter {
  std::string filterName;
  bool textRequested = false;  // the caller asked for plain text: no plain-text refusal
  bool sniffEncoding = false;  // the encoded-text filter: options chosen from the file's start
};

// How one save format code is written. An empty filter name means the office has no writer for
// the format; formatName then names it in the refusal.
struct SaveFilter {
  std::string filterName;
  std::string formatName;
  bool plainText = false;  // takes its FilterOptions from TextSaveOptions
};

// Open codes of the input format list (converters excluded). Codes without an entry of their
// own fall back to type detection, as the word processor does for them.
OpenFilter openFilterFor(int32_t code);

// Save codes of the output format list (converters excluded); nullopt for a code outside it.
std::optional<SaveFilter> saveFilterFor(int32_t code);

// First filter code given to installed converters; the fixed codes all lie below it.
constexpr int32_t kFirstConverterCode = 1000;
constexpr int32_t kConverterCodeSpan = 30000;

// The WordStar converter, read by our own reader rather than an office filter: the first code
// after those of the office's filters, the same everywhere. It is listed after the office's
// converters, so adding it moved no stored position.
constexpr int32_t kWordStarCode = kFirstConverterCode + kConverterCodeSpan;
constexpr const char* kWordStarName = "WordStar";
constexpr const char* kWordStarExtensions = "ws ws3 ws4 ws5 ws6 ws7 wsd";

// A code that depends only on the filter's name, so it is the same on every run and machine;
// on a clash with a code in taken the next free one is used.
int32_t converterCode(const std::string& filterName, const std::set<int32_t>& taken);

// FilterOptions of the encoded-text export: charset, line end, font, language, no BOM.
std::string textExportOptions(const TextSaveOptions& options);

// The options of a text save that the office's text export cannot honour, one sentence each.
std::vector<std::string> ignoredTextOptions(const TextSaveOptions& options);

// The message when the office cannot write a save format.
std::string cannotWriteMessage(const std::string& formatName);

}  // namespace kelvara::word::lo
