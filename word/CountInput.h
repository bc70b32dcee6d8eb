#pragma once

#include <functional>
#include <string>

#include "config/Settings.h"
#include "word/ConversionPipeline.h"
#include "word/PendingLog.h"

namespace kelvara::word {

// The name of the words-count program's output for an input: its file name up to and including
// the first "." followed by "txt" ("notes.v1.ws" gives "notes.txt", "README" gives "txt").
std::string CountFileName(const std::string& inputPath);

// The counts in the fourth line of the program's output: after each label ("Words:", "Lines:",
// "Chars:", first occurrence) the six characters that begin one character after it, blanks
// trimmed. A label that is missing leaves its count at -1. A field that is not a number ends
// the reading; *garbage then says so and the counts read before it stay.
InputCounts ParseCountLine(const std::string& line, bool* garbage = nullptr);

// Runs WordsCountProgram on the input with its standard output in tempFolder + CountFileName,
// reads the counts from that file and deletes it. Counts the program could not give stay -1
// (a failed program leaves its reason in log). Throws EConvError when the file it wrote cannot
// be opened or read, which ends the document's conversion.
InputCounts CountInput(const config::Settings& settings, const std::string& inputPath,
                       const std::string& tempFolder, const std::function<void()>& checkpoint,
                       PendingLog& log);

}  // namespace kelvara::word
