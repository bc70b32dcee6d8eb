#include "support/Subprocess.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kelvara::testing {
namespace {

// Empty when the file cannot be read, as /proc/<pid>/cmdline of a process that has just ended.
std::string slurp(const std::string& path) {
  try {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    return "";
  }
}

}  // namespace

pid_t StartProgram(const std::vector<std::string>& argv,
                   const std::map<std::string, std::string>& env, const std::string& outputDir) {
  const std::string outPath = outputDir + "/stdout";
  const std::string errPath = outputDir + "/stderr";
  const pid_t pid = fork();
  if (pid == 0) {
    for (const auto& [name, value] : env) {
      setenv(name.c_str(), value.c_str(), 1);
    }
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) {
      args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

ProcessResult WaitProgram(pid_t pid, const std::string& outputDir) {
  ProcessResult result;
  int status = 0;
  if (waitpid(pid, &status, 0) == pid) {
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  result.out = slurp(outputDir + "/stdout");
  result.err = slurp(outputDir + "/stderr");
  return result;
}

ProcessResult RunProgram(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& env,
                         const std::string& outputDir) {
  return WaitProgram(StartProgram(argv, env, outputDir), outputDir);
}

std::vector<pid_t> ProcessesWithCommandLine(const std::string& text) {
  std::vector<pid_t> pids;
  DIR* proc = opendir("/proc");
  if (!proc) {
    return pids;
  }
  while (dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (*end != '\0' || pid <= 0) {
      continue;
    }
    std::string cmdline = slurp("/proc/" + std::string(entry->d_name) + "/cmdline");
    for (char& c : cmdline) {
      if (c == '\0') {
        c = ' ';
      }
    }
    if (cmdline.find(text) != std::string::npos) {
      pids.push_back(static_cast<pid_t>(pid));
    }
  }
  closedir(proc);
  return pids;
}

}  // namespace kelvara::testing
