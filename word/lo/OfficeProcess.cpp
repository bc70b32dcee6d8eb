#include "word/lo/OfficeProcess.h"

#include "platform/Process.h"
#include "word/lo/FileUrl.h"

namespace kelvara::word::lo {

OfficeProcess::OfficeProcess(OfficeLaunch launch) : launch_(std::move(launch)) {}

OfficeProcess::~OfficeProcess() {
  kill();
  if (pid_ > 0 && !exitStatus_) {
    exitStatus_ = platform::waitForChild(pid_, std::chrono::milliseconds(5000));
  }
}

std::vector<std::string> OfficeProcess::commandLine() const {
  return {launch_.program,
          "--headless",
          "--invisible",
          "--nologo",
          "--norestore",
          "--nodefault",
          "--nolockcheck",
          "--accept=pipe,name=" + launch_.pipeName + ";urp;",
          "-env:UserInstallation=" + fileUrlFromPath(launch_.profileDir)};
}

bool OfficeProcess::start(std::string* error) {
  platform::SpawnOptions spawn;
  spawn.argv = commandLine();
  // Should this program be killed outright, its office goes with it instead of running on with
  // no owner.
  spawn.endWithParent = true;
  if (!launch_.logPath.empty()) {
    spawn.stdoutPath = launch_.logPath;
    spawn.stderrPath = launch_.logPath;
  }
  exitStatus_.reset();
  reaped_ = false;
  const auto pid = platform::spawnProcess(spawn, error);
  if (!pid) {
    return false;
  }
  pid_ = *pid;
  return true;
}

std::optional<int> OfficeProcess::exitStatus() {
  if (!exitStatus_ && pid_ > 0) {
    exitStatus_ = platform::waitForChild(pid_, std::chrono::milliseconds(0));
    reaped_ = exitStatus_.has_value();
  }
  return exitStatus_;
}

bool OfficeProcess::running() {
  return pid_ > 0 && !exitStatus();
}

void OfficeProcess::kill() {
  const int pid = pid_.load();
  if (pid > 0 && !reaped_) {
    platform::killProcessTree(pid);
  }
}

void OfficeProcess::awaitExit(std::chrono::milliseconds grace) {
  if (pid_ <= 0 || exitStatus_) {
    return;
  }
  exitStatus_ = platform::waitForChild(pid_, grace);
  if (!exitStatus_) {
    platform::killProcessTree(pid_);
    exitStatus_ = platform::waitForChild(pid_, std::chrono::milliseconds(5000));
  }
  reaped_ = exitStatus_.has_value();
}

}  // namespace kelvara::word::lo
