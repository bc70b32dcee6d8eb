#include "word/RunProgram.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Process.h"

namespace kelvara::word {
namespace {

using namespace std::chrono_literals;

constexpr auto kWaitStep = 100ms;
constexpr size_t kMaxReasonChars = 200;

std::string folderOf(const std::string& program) {
  const auto slash = program.find_last_of('/');
  if (slash == std::string::npos) {
    return {};
  }
  return slash == 0 ? std::string("/") : program.substr(0, slash);
}

// The first non-empty line the program wrote to its error output.
std::string firstLineOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
      line.pop_back();
    }
    if (!line.empty()) {
      return line.size() > kMaxReasonChars ? line.substr(0, kMaxReasonChars) : line;
    }
  }
  return {};
}

// The program's error output while it runs; removed when the call ends.
class ErrorCapture {
 public:
  explicit ErrorCapture(const std::string& folder) {
    if (!folder.empty()) {
      path_ = platform::createUniqueFile(folder, "stderr-");
    }
  }
  ~ErrorCapture() {
    if (path_) {
      platform::removeFile(*path_);
    }
  }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  std::string path() const { return path_.value_or("/dev/null"); }
  std::string reason() const {
    const std::string line = path_ ? firstLineOf(*path_) : std::string();
    return line.empty() ? line : ": " + line;
  }

 private:
  std::optional<std::string> path_;
};

}  // namespace

std::string ProgramsTemporaryFolder() {
  // Not the shared /tmp: nobody else may put a file where a count file is expected.
  const std::string folder = platform::runtimeDir() + "/temp/";
  if (platform::ensureDir(folder)) {
    return folder;
  }
  std::error_code ec;
  const std::filesystem::path shared = std::filesystem::temp_directory_path(ec);
  return ec ? std::string("/tmp/") : shared.string() + "/";
}

int RunProgram(const ProgramCall& call, const std::function<void()>& checkpoint, PendingLog& log) {
  const std::string program = platform::findProgram(call.program);
  ErrorCapture errors(call.scratchFolder);
  platform::SpawnOptions options;
  options.program = program;
  options.argv.push_back(program);
  options.argv.insert(options.argv.end(), call.arguments.begin(), call.arguments.end());
  options.workingDirectory = folderOf(program);
  if (!call.outputFile.empty()) {
    options.stdoutPath = call.outputFile;
    options.truncateStdout = true;
  }
  options.stderrPath = errors.path();
  // A program left running would outlive an aborted run; the kernel ends it with us.
  options.endWithParent = true;

  std::string startError;
  const std::optional<int> pid = platform::spawnProcess(options, &startError);
  if (!pid) {
    log.error("Cannot start " + startError);
    return -1;
  }

  const auto limit = std::chrono::seconds(call.timeoutSeconds);
  // Time spent at the checkpoint (a paused run) is not the program's.
  std::chrono::steady_clock::duration running{};
  std::optional<int> status;
  for (;;) {
    const auto waitStarted = std::chrono::steady_clock::now();
    status = platform::waitForChild(*pid, kWaitStep);
    running += std::chrono::steady_clock::now() - waitStarted;
    if (status) {
      break;
    }
    if (call.timeoutSeconds > 0 && running >= limit) {
      platform::killProcessTree(*pid);
      platform::waitForChild(*pid, 5s);
      log.error("Program " + call.program + " did not end within " +
                std::to_string(call.timeoutSeconds) + " s and was ended");
      return -1;
    }
    if (checkpoint) {
      checkpoint();
    }
  }
  if (*status < 0) {
    log.error("The exit code of program " + call.program + " could not be read");
    return -1;
  }
  if (*status != 0) {
    log.error("Program " + call.program + " ended with exit code " + std::to_string(*status) +
              errors.reason());
  }
  return *status;
}

}  // namespace kelvara::word
