#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvara::platform {

// One entry of the system's process list.
struct ProcessInfo {
  int pid = 0;
  int ppid = 0;
  std::vector<std::string> commandLine;  // argv as the process sees it; empty for kernel threads
  uint64_t startTicks = 0;  // start time in clock ticks after boot: tells a reused pid apart
  bool zombie = false;      // ended, not yet reaped by its parent
};

// Every process the caller may see, in ascending pid order.
std::vector<ProcessInfo> listProcesses();

// The process and all its descendants in the order they must be ended: children before parents.
std::vector<int> processTreeKillOrder(const std::vector<ProcessInfo>& processes, int root);

// Ends the process and its descendants with SIGKILL, children first. True when every process of
// the tree is gone or was signalled; false when one could not be signalled (its errno in error).
bool killProcessTree(int pid, int* error = nullptr);

enum class Signal { Kill, Terminate, Stop, Continue };
bool sendSignal(int pid, Signal signal);

struct SpawnOptions {
  std::vector<std::string> argv;  // the child's argument vector; no shell, no PATH search
  std::string program;            // path of the program to run; empty: argv[0]
  std::string stdoutPath = "/dev/null";
  std::string stderrPath = "/dev/null";
  // Standard output replaces the file's content (a shell's " > ") instead of being appended.
  bool truncateStdout = false;
  // The child's current folder; empty: ours. A relative program path is taken from ours.
  std::string workingDirectory;
  bool newSession = true;  // own session, so a terminal's Ctrl+C does not reach the child
  // The kernel kills the child (SIGKILL) when this process ends, however it ends, even killed.
  bool endWithParent = false;
};

// The program a configured name means: a name with a "/" as it stands, a bare name the first
// executable of that name in $PATH (the name itself when there is none).
std::string findProgram(const std::string& name);

// Starts a child process; the pid, or nullopt with the reason in error.
std::optional<int> spawnProcess(const SpawnOptions& options, std::string* error = nullptr);

// Exit status of a child of this process: the exit code, or 128 + signal number when a signal
// ended it. Nullopt when the child is still running after the timeout (zero: do not wait).
std::optional<int> waitForChild(int pid, std::chrono::milliseconds timeout);

// Resident memory of a process in kB (VmRSS); nullopt when it cannot be read.
std::optional<int64_t> residentKilobytes(int pid);

// Writes to a pipe or socket whose reader is gone fail with EPIPE instead of raising SIGPIPE.
void ignoreBrokenPipes();

// True while the process exists and is not a zombie.
bool isProcessAlive(int pid);

int currentProcessId();
int currentUserId();

}  // namespace kelvara::platform
