#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::word::lo {

// Where and how our own office runs.
struct OfficeLaunch {
  std::string program;     // soffice.bin (or the soffice launcher)
  std::string profileDir;  // private user installation
  std::string pipeName;    // UNO pipe the office accepts on
  std::string logPath;     // the office's stdout and stderr
};

// One office process started by us: launched on a private profile, never shared, ended as a
// whole tree. Thread-safe for kill() and pid(), which the watchdog uses.
class OfficeProcess {
 public:
  explicit OfficeProcess(OfficeLaunch launch);
  ~OfficeProcess();
  OfficeProcess(const OfficeProcess&) = delete;
  OfficeProcess& operator=(const OfficeProcess&) = delete;

  // Spawns the office; false with the reason in error.
  bool start(std::string* error);
  int pid() const { return pid_.load(); }
  // Reaps a finished office: its exit status, or nullopt while it runs.
  std::optional<int> exitStatus();
  bool running();
  // SIGKILL to the whole tree (children first), then reaps. Safe from any thread.
  void kill();
  // Waits for a terminating office; kills it when the time is up.
  void awaitExit(std::chrono::milliseconds grace);

  std::vector<std::string> commandLine() const;
  const OfficeLaunch& launch() const { return launch_; }

 private:
  OfficeLaunch launch_;
  std::atomic<int> pid_{0};
  std::atomic<bool> reaped_{false};  // once reaped, the pid may belong to someone else
  std::optional<int> exitStatus_;    // only the owning thread touches it
};

// The exit code of an office that created a new profile and asks to be started again.
constexpr int kOfficeRestartExitCode = 81;

}  // namespace kelvara::word::lo
