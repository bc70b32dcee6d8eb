#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::app {

// What the command line asks for. Paths are as given (folder parts keep their final "/").
struct CommandLine {
  bool AutoRun = false;
  bool ShowAtStart = true;
  int WordVersionRequest = 0;
  bool singleFileForm = false;  // "s": the "i:" value names a file
  std::string InpPath;
  std::string InpFileName;
  std::string OutPath;
  std::string currentOutputFileName;
  std::optional<std::string> inputFormat;   // "if:" value, an index into the input list
  std::optional<std::string> outputFormat;  // "of:" value, an index into the output list
  // "Path not found: ..." or "File not found: ..."; the rest of the line was then ignored.
  std::optional<std::string> error;
};

struct PathProbe {
  std::function<bool(const std::string&)> folderExists;
  std::function<bool(const std::string&)> fileExists;
};

// Reads the switches "a", "m", "s", "v:", "i:", "o:", "if:", "of:" (with "/" or "-").
// autoRunImplied treats the line as if "a" were given (the console program).
CommandLine ReadCommandLine(const std::vector<std::string>& params, const PathProbe& probe,
                            bool autoRunImplied = false);

// The folder part of a path, up to and including its last "/" (empty when it has none).
std::string FolderPart(const std::string& path);
std::string FileNamePart(const std::string& path);

}  // namespace kelvara::app
