#pragma once

#include <functional>
#include <string>
#include <vector>

#include "config/Settings.h"
#include "word/PendingLog.h"

namespace kelvara::word {

// The base name under which the converter writes its output into the output folder.
inline constexpr const char* kConverterOutputName = "TEMPWPXX";

// The converter's arguments from ProgCmdLine1 + input + " " + ProgCmdLine2 + output folder +
// "TEMPWPXX" + ProgCmdLine3: the configured pieces are split at blanks, the two paths never, so
// "in=" + a path with blanks stays one argument. Relative paths are made absolute, because the
// converter runs in its own folder.
std::vector<std::string> ConverterArguments(const config::Settings& settings,
                                            const std::string& inputPath,
                                            const std::string& outputFolder);

// "TEMPWPXX.*" as the converter's system matches it: the bare name or the name and any
// extension, in any case.
bool IsConverterOutput(const std::string& fileName);

// Runs ExternalConverterProgram on the input and moves the one TEMPWPXX file it wrote into the
// output folder to outputFileName (an older file of that name is deleted first). Throws
// EConvError with the step's message when the converter fails, writes nothing or more than one
// file, or its file cannot be moved; nothing of the converter's is then left in the folder.
// Conversions into one folder take turns, since they share the TEMPWPXX name.
void RunExternalConverter(const config::Settings& settings, const std::string& inputPath,
                          const std::string& outputFileName, const std::string& scratchFolder,
                          const std::function<void()>& checkpoint, PendingLog& log);

// The name the converter's output moves to while the engine works on it: Prefix before the
// output's file name ("_%report.doc" beside "report.doc").
std::string PrefixedName(const std::string& outputFileName, const std::string& prefix);

// Moves the converter's output from outputFileName to its prefixed name (an older file of that
// name is deleted first), so that the document is saved under the output name while the file it
// came from is elsewhere. The name to open: the prefixed one, or outputFileName when the move
// failed. Failures are logged, never thrown.
std::string MoveAsidePrefixed(const config::Settings& settings, const std::string& outputFileName,
                              PendingLog& log);

// Deletes the converter's output once it is no longer needed, with its deletion line.
void RemoveConverterOutput(const std::string& path, PendingLog& log);

}  // namespace kelvara::word
