#pragma once

#include <cstdint>

namespace kelvara::run {

// Per-run counts, reset when a run starts. At the end of a run
// filesAnalyzed == filesConverted + filesInError + filesSkipped.
struct RunCounters {
  int32_t DirCount = 0;
  int32_t FilesAnalyzed = 0;
  int32_t FilesConverted = 0;
  int32_t FilesInError = 0;
  int32_t FilesWithWarnings = 0;
  int32_t FilesSkipped = 0;
};

}  // namespace kelvara::run
