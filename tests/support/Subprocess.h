#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace kelvara::testing {

struct ProcessResult {
  int exitCode = -1;  // 128 + signal when killed by one
  std::string out;
  std::string err;
};

// Starts a program with extra environment variables; stdout and stderr go to files in
// outputDir ("stdout", "stderr"), stdin is /dev/null.
pid_t StartProgram(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, const std::string& outputDir);
ProcessResult WaitProgram(pid_t pid, const std::string& outputDir);
ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& env,
                         const std::string& outputDir);

// Pids of processes whose command line contains the text.
std::vector<pid_t> ProcessesWithCommandLine(const std::string& text);

}  // namespace kelvara::testing
