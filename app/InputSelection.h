#pragma once

#include <string>

#include "app/CommandLine.h"
#include "config/Settings.h"
#include "word/FormatTables.h"

namespace kelvara::app {

// What the main window shows of the chosen input and output, and what it allows.
struct InputDisplay {
  std::string inputLabel;   // "Input Path" or "Input File"
  std::string outputLabel;  // "Output Path" or "Output File"
  std::string inputBox;
  std::string outputBox;
  bool maskControlsEnabled = true;  // the standard-mask box and the mask box
  bool runAllowed = false;
};

// A file dialog's filter ("name (*.a *.b)") and the name it proposes.
struct DialogFilter {
  std::string filter;
  std::string proposedName;
};

// Run may start: an output folder is set and the input folder (or, in single-file mode, the
// input file) exists.
bool RunAllowed(const config::Settings& settings, const PathProbe& probe);

// The mask a run would use: the file's own name in single-file mode, the input format's
// standard mask with StandardInpMask, else the mask kept in Kelva.ini.
std::string MaskFor(const config::Settings& settings, const word::FormatSelection& selection,
                    const std::string& storedMask);

// Brings InpMask in line with the mode and says what the window shows. In single-file mode an
// input name with wildcards, or one that does not exist, empties both boxes and the mask.
InputDisplay UpdateInputDisplay(config::Settings& settings, const word::FormatSelection& selection,
                                const std::string& storedMask, const PathProbe& probe);

// The name of a file with its extension replaced by "." + ext.
std::string WithExtension(const std::string& fileName, const std::string& ext);

// The input dialog's filter: the input format's extensions with the standard mask, else the
// user's mask, else every file.
DialogFilter InputDialogFilter(const config::Settings& settings,
                               const word::FormatSelection& selection);
DialogFilter OutputDialogFilter(const word::FormatSelection& selection);

// Takes the name chosen in the input dialog: InpPath, InpFileName and, where the mask follows the
// choice, InpMask. True when InpMask changed and belongs in Kelva.ini.
bool TakeInputChoice(config::Settings& settings, const std::string& chosen);

// Why a folder or file typed into the input box cannot be used ("File not found"), or empty.
// A usable one becomes InpPath (a folder) or InpFileName (a file).
std::string TakeTypedInput(config::Settings& settings, const std::string& typed,
                           const PathProbe& probe);
// The same for the output box: a path that is not absolute has no file system to live on
// ("Drive not found"). A usable one becomes OutPath.
std::string TakeTypedOutput(config::Settings& settings, const std::string& typed);

}  // namespace kelvara::app
