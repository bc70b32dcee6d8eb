#pragma once

#include <cstdint>
#include <string>

#include "config/Settings.h"
#include "word/ConversionPipeline.h"

namespace kelvara::run {

// The input count of the last kind (words, lines, characters) whose output count differs from
// the input by more than its tolerance; 0 when none differs. Only a positive result warns: an
// absent input count (-1) can differ but never warns.
int32_t CountCheck(const word::InputCounts& input, const word::DocumentStatistics& output,
                   const config::Settings& settings);

// " Warning - Input file words, lines, characters count: ..." with each count right-aligned in
// six characters.
std::string CountWarningLine(const word::InputCounts& input,
                             const word::DocumentStatistics& output);

}  // namespace kelvara::run
