#pragma once

#include "run/RunCounters.h"
#include "run/RunLogs.h"

namespace kelvara::run {

// The lines that end a run in each of its four logs, from its counters.
void WriteRunSummary(RunLogs& logs, const RunCounters& counters);

}  // namespace kelvara::run
