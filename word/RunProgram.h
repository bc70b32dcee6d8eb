#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "word/PendingLog.h"

namespace kelvara::word {

// One start of an outside program (the external converter, the words-count program).
struct ProgramCall {
  // As configured: a path, or a bare name looked up in $PATH. It runs in its own folder.
  std::string program;
  // Each reaches the program as one argument, blanks and all: no shell ever splits them.
  std::vector<std::string> arguments;
  // Standard output replaces this file's content (what " > " does); empty: it is dropped.
  std::string outputFile;
  // Seconds the program may run before it is ended; 0: no limit.
  int32_t timeoutSeconds = 0;
  // A folder for a short-lived copy of the program's error output, whose first line then
  // explains a failure; empty: the error output is dropped.
  std::string scratchFolder;
};

// This user's own folder for the outside programs' short-lived files (count files, error
// output), made when missing; the system's temporary folder when it cannot be made.
std::string ProgramsTemporaryFolder();

// Starts the program without a shell and waits for its end in 100 ms steps, calling checkpoint
// between them (Pause and Stop stay live). The result is 0 for success, the program's non-zero
// exit code (128 + the signal for one ended by a signal), or -1 when it could not be started,
// its exit code could not be read, or it ran out of time (it is then ended with its children).
// Every result other than 0 leaves one error line in log. Never throws.
int RunProgram(const ProgramCall& call, const std::function<void()>& checkpoint, PendingLog& log);

}  // namespace kelvara::word
