#pragma once

#include <string>

#include "app/CommandLine.h"
#include "config/Settings.h"
#include "word/FormatTables.h"

namespace kelvara::app {

// Presets that win over Kelva.ini: paths from "i:"/"o:" and the format positions.
void PresetFromCommandLine(const CommandLine& commandLine, config::Settings& settings);

// After Kelva.ini is loaded: an input on the command line decides between a single-file run
// (the "s" form) and a folder run, and the paths become absolute folders ending with "/".
void CompleteSettings(const CommandLine& commandLine, config::Settings& settings);

// Selects the input and output formats at the stored or given positions, and derives the input
// mask from the input format when StandardInpMask is on. Returns an error text, or empty.
std::string ChooseFormats(const word::FormatLists& lists, const CommandLine& commandLine,
                          config::Settings& settings, word::FormatSelection& selection);

// Reads a number of offices for "-j" (1 to config::kMaxEngines); false when it is not one.
bool ParseEngineCount(const std::string& text, int32_t& count);

// An absolute, normalised folder path ending with "/" (empty stays empty).
std::string AbsoluteFolder(const std::string& folder);

}  // namespace kelvara::app
