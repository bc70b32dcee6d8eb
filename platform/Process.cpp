#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

namespace kelvara::platform {
namespace {

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// State letter and parent pid from /proc/<pid>/stat. The command name in parentheses may itself
// hold blanks and parentheses, so parse from the last ')'.
bool readStat(int pid, char* state, int* ppid) {
  const std::string stat = readWhole("/proc/" + std::to_string(pid) + "/stat");
  const auto close = stat.rfind(')');
  if (close == std::string::npos) {
    return false;
  }
  std::istringstream rest(stat.substr(close + 1));
  char s = 0;
  int p = 0;
  if (!(rest >> s >> p)) {
    return false;
  }
  *state = s;
  *ppid = p;
  return true;
}

std::vector<std::string> splitNul(const std::string& raw) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (start < raw.size()) {
    auto end = raw.find('\0', start);
    if (end == std::string::npos) {
      end = raw.size();
    }
    parts.push_back(raw.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

int toSignalNumber(Signal signal) {
  switch (signal) {
    case Signal::Kill:
      return SIGKILL;
    case Signal::Terminate:
      return SIGTERM;
    case Signal::Stop:
      return SIGSTOP;
    case Signal::Continue:
      return SIGCONT;
  }
  return SIGKILL;
}

}  // namespace

std::vector<ProcessInfo> listProcesses() {
  std::vector<ProcessInfo> result;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) {
      continue;
    }
    ProcessInfo info;
    info.pid = std::stoi(name);
    char state = 0;
    if (!readStat(info.pid, &state, &info.ppid)) {
      continue;  // ended meanwhile
    }
    info.commandLine = splitNul(readWhole("/proc/" + name + "/cmdline"));
    result.push_back(std::move(info));
  }
  std::sort(result.begin(), result.end(),
            [](const ProcessInfo& a, const ProcessInfo& b) { return a.pid < b.pid; });
  return result;
}

std::vector<int> processTreeKillOrder(const std::vector<ProcessInfo>& processes, int root) {
  std::multimap<int, int> children;
  for (const auto& p : processes) {
    if (p.pid != p.ppid) {
      children.emplace(p.ppid, p.pid);
    }
  }
  std::vector<int> order;
  std::set<int> seen;
  // Iterative post-order walk: a process is emitted after all of its descendants.
  std::vector<std::pair<int, bool>> stack{{root, false}};
  while (!stack.empty()) {
    auto [pid, expanded] = stack.back();
    stack.pop_back();
    if (expanded) {
      order.push_back(pid);
      continue;
    }
    if (!seen.insert(pid).second) {
      continue;
    }
    stack.emplace_back(pid, true);
    auto range = children.equal_range(pid);
    for (auto it = range.first; it != range.second; ++it) {
      stack.emplace_back(it->second, false);
    }
  }
  return order;
}

bool killProcessTree(int pid, int* error) {
  if (pid <= 0) {
    return false;
  }
  // Freeze the tree parents first so that nobody forks while the children are being ended.
  std::vector<int> order = processTreeKillOrder(listProcesses(), pid);
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    ::kill(*it, SIGSTOP);
  }
  order = processTreeKillOrder(listProcesses(), pid);
  bool ok = true;
  for (int member : order) {
    if (::kill(member, SIGKILL) != 0 && errno != ESRCH) {
      ok = false;
      if (error) {
        *error = errno;
      }
    }
  }
  return ok;
}

bool sendSignal(int pid, Signal signal) {
  return pid > 0 && ::kill(pid, toSignalNumber(signal)) == 0;
}

std::optional<int> spawnProcess(const SpawnOptions& options, std::string* error) {
  auto fail = [error](int code, const char* what) -> std::optional<int> {
    if (error) {
      *error = std::string(what) + ": " + std::strerror(code);
    }
    return std::nullopt;
  };
  if (options.argv.empty()) {
    return fail(EINVAL, "spawn");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, options.stdoutPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, options.stderrPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // The child must not inherit our sockets (the connection to an earlier office, for one).
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none;
  sigemptyset(&none);
  sigset_t all;
  sigfillset(&all);
  short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  if (options.newSession) {
    flags |= POSIX_SPAWN_SETSID;
  }
  posix_spawnattr_setflags(&attr, flags);

  std::vector<char*> argv;
  argv.reserve(options.argv.size() + 1);
  for (const auto& a : options.argv) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);

  pid_t pid = 0;
  const std::string& program = options.program.empty() ? options.argv[0] : options.program;
  const int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) {
    return fail(rc, program.c_str());
  }
  return static_cast<int>(pid);
}

std::optional<int> waitForChild(int pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    int status = 0;
    const pid_t rc = ::waitpid(pid, &status, WNOHANG);
    if (rc == pid) {
      if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
      }
      if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
      }
      continue;  // stopped or continued: still there
    }
    if (rc < 0 && errno != EINTR) {
      return -1;  // not our child (or reaped elsewhere): its status is unknown
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return std::nullopt;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::milliseconds(25));
  }
}

void ignoreBrokenPipes() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  sigaction(SIGPIPE, &action, nullptr);
}

std::optional<int64_t> residentKilobytes(int pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      try {
        return std::stoll(line.substr(6));
      } catch (const std::exception&) {
        return std::nullopt;
      }
    }
  }
  return std::nullopt;
}

bool isProcessAlive(int pid) {
  if (pid <= 0) {
    return false;
  }
  if (::kill(pid, 0) != 0 && errno != EPERM) {
    return false;
  }
  char state = 0;
  int ppid = 0;
  if (!readStat(pid, &state, &ppid)) {
    return false;
  }
  return state != 'Z' && state != 'X';
}

int currentProcessId() {
  return static_cast<int>(::getpid());
}

int currentUserId() {
  return static_cast<int>(::getuid());
}

}  // namespace kelvara::platform
