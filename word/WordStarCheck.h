#pragma once

#include <cstdint>
#include <string>

#include "word/PendingLog.h"

namespace kelvara::word {

// Where the checked document is going, for the lines of a warning block.
struct WordStarCheckNames {
  std::string curInputDir;
  std::string curOutputDir;
  std::string docName;  // input file name without folder
  std::string outName;  // output file name without folder
};

// Reads a WordStar file byte by byte and checks every 0x1D sequence against its length byte: a
// good one is 0x1D, the length L, one more byte and L body bytes of which the last is 0x1D. Each
// bad sequence gets a warning block with its positions and a hex dump. The file is never
// changed. The result is the number of problems: bad sequences, plus one for a scan that failed
// half-way. A file that cannot be opened gives one main-log line and no problem.
int32_t CheckWordStarFile(const std::string& path, const WordStarCheckNames& names,
                          PendingLog& log);

}  // namespace kelvara::word
