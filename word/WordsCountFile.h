#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "word/TextCounts.h"

namespace kelvara::word {

// The words, lines and characters of an input file as the engine would count them after
// opening it: a WordStar file as the WordStar reader gives it, RTF as its text shows, anything
// else that is text line by line. Other formats are not counted.
struct FileCount {
  std::optional<TextCounts> counts;
  std::string format;  // what the file was read as, for the report
  std::string error;   // why it was not counted
};

FileCount countBytes(std::string_view bytes);
FileCount countFile(const std::string& path);

// The command line of the count program: the input path, whole or split at its blanks, and
// an output file when the arguments end in the shell's " > file" (a runner without a shell
// may pass the configured parameters as they are).
struct CountCommand {
  std::string input;
  std::optional<std::string> outputFile;
};
CountCommand parseCountArguments(const std::vector<std::string>& arguments);

// The largest count the six-character field of the count line holds.
constexpr int64_t kMaxCountField = 999999;

// The fourth line of the count output: "Words:", "Lines:" and "Chars:", each followed by a
// blank and its count right-aligned in six characters. A count too large for the field is left
// out with its label, so that the reader of the line takes it as absent rather than as a
// wrong number; *leftOut then names it ("words 1234567").
std::string countLine(const TextCounts& counts, std::vector<std::string>* leftOut);

// The whole output: three lines about the program, the file and its format, then the count
// line.
std::string countReport(const std::string& path, const FileCount& count,
                        std::vector<std::string>* leftOut);

}  // namespace kelvara::word
