#include "run/RunSummary.h"

#include <string>

namespace kelvara::run {

void WriteRunSummary(RunLogs& logs, const RunCounters& counters) {
  const std::string separator(68, '_');
  logs.WriteLogLn(separator);
  logs.WriteLogLn("");
  logs.WriteLogLn("End of conversion");
  logs.WriteLogLn("");
  logs.WriteLog(" Files analized: " + std::to_string(counters.FilesAnalyzed));
  logs.WriteLog(" Files converted: " + std::to_string(counters.FilesConverted));
  logs.WriteLog(" Files skipped: " + std::to_string(counters.FilesSkipped));
  logs.WriteLogLn(" Files in error: " + std::to_string(counters.FilesInError));

  logs.WriteWrnLogLn(separator);
  logs.WriteWrnLogLn("");
  logs.WriteWrnLogLn("End of conversion");
  logs.WriteWrnLogLn("Total number of files with warning(s): " +
                     std::to_string(counters.FilesWithWarnings));

  logs.WriteErrLogLn(separator);
  logs.WriteErrLogLn("");
  logs.WriteErrLogLn("End of conversion");
  logs.WriteErrLogLn("Total number of files in error: " + std::to_string(counters.FilesInError));

  logs.WriteSkpLogLn(separator);
  logs.WriteSkpLogLn("");
  logs.WriteSkpLogLn("End of conversion");
  logs.WriteSkpLogLn("Total number of skipped files: " + std::to_string(counters.FilesSkipped));
}

}  // namespace kelvara::run
