#include "platform/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <map>
#include <mutex>
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

struct StatFields {
  char state = 0;
  int ppid = 0;
  uint64_t startTicks = 0;
};

// Fields of /proc/<pid>/stat. The command name in parentheses may itself hold blanks and
// parentheses, so parse from the last ')'.
std::optional<StatFields> readStat(int pid) {
  const std::string stat = readWhole("/proc/" + std::to_string(pid) + "/stat");
  const auto close = stat.rfind(')');
  if (close == std::string::npos) {
    return std::nullopt;
  }
  std::istringstream rest(stat.substr(close + 1));
  StatFields fields;
  if (!(rest >> fields.state >> fields.ppid)) {
    return std::nullopt;
  }
  // Fields 5 to 21 (process group ... interval timer), then 22: the start time.
  std::string skipped;
  for (int i = 5; i <= 21 && rest >> skipped; ++i) {
  }
  rest >> fields.startTicks;
  return fields;
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

int stdoutMode(const SpawnOptions& options) {
  return options.truncateStdout ? O_TRUNC : O_APPEND;
}

// An absolute path for a relative one, so that a change of folder in the child does not change
// which program runs.
std::string fromHere(const std::string& path) {
  if (path.empty() || path.front() == '/') {
    return path;
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

// Replaces the forked child by the program; never returns. Only async-signal-safe calls: the
// parent may have other threads, whose locks the child inherits in whatever state they were.
[[noreturn]] void execChild(const SpawnOptions& options, const char* program, char* const* argv,
                            pid_t parent, int report) {
  auto die = [report](int code) {
    [[maybe_unused]] const ssize_t written = ::write(report, &code, sizeof code);
    ::_exit(127);
  };
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) {
    die(errno);
  }
  if (::getppid() != parent) {
    ::_exit(127);  // the parent ended before the signal was armed
  }
  if (options.newSession && ::setsid() < 0) {
    die(errno);
  }
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  for (int sig = 1; sig < NSIG; ++sig) {
    ::sigaction(sig, &fallback, nullptr);
  }
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  const int in = ::open("/dev/null", O_RDONLY);
  const int out =
      ::open(options.stdoutPath.c_str(), O_WRONLY | O_CREAT | stdoutMode(options), 0600);
  const int err = ::open(options.stderrPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (in < 0 || out < 0 || err < 0) {
    die(errno);
  }
  if (::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
    die(errno);
  }
  // After the streams, so that their names mean what they mean to the caller.
  if (!options.workingDirectory.empty() && ::chdir(options.workingDirectory.c_str()) != 0) {
    die(errno);
  }
  // The child must not inherit our sockets (the connection to an earlier office, for one).
  if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
    for (int fd = 3; fd < 4096; ++fd) {
      ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  ::execve(program, argv, environ);
  die(errno);
  ::_exit(127);
}

// posix_spawn cannot arm a parent-death signal, so such children are forked by hand. The pid,
// or -1 with the errno of the step that failed (exec included) in code.
pid_t forkWithParentDeath(const SpawnOptions& options, const std::string& program,
                          char* const* argv, int* code) {
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    *code = errno;
    return -1;
  }
  // Above the standard streams, so that setting up the child's streams cannot overwrite them.
  const int reader = ::fcntl(pipeEnds[0], F_DUPFD_CLOEXEC, 3);
  const int writer = ::fcntl(pipeEnds[1], F_DUPFD_CLOEXEC, 3);
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  if (reader < 0 || writer < 0) {
    *code = errno;
    ::close(reader);
    ::close(writer);
    return -1;
  }
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(reader);
    execChild(options, program.c_str(), argv, parent, writer);
  }
  *code = errno;
  ::close(writer);
  if (pid < 0) {
    ::close(reader);
    return -1;
  }
  // The write end closes on a successful exec: no bytes then.
  int childError = 0;
  ssize_t got = 0;
  do {
    got = ::read(reader, &childError, sizeof childError);
  } while (got < 0 && errno == EINTR);
  ::close(reader);
  if (got == static_cast<ssize_t>(sizeof childError)) {
    ::waitpid(pid, nullptr, 0);
    *code = childError;
    return -1;
  }
  return pid;
}

// Runs a fork on a thread that lives as long as the process. The kernel sends the parent-death
// signal when the forking thread ends, not the process, and the threads that start offices (a
// pool's workers, a window's run thread) may end long before the program does.
pid_t onForkThread(const std::function<pid_t()>& fork) {
  struct Queue {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::packaged_task<pid_t()>> tasks;
  };
  // Never destroyed: the thread waits on it until the process is gone, exit handlers included.
  static Queue* const queue = [] {
    auto* created = new Queue;
    std::thread([created] {
      for (;;) {
        std::packaged_task<pid_t()> task;
        {
          std::unique_lock<std::mutex> lock(created->mutex);
          created->ready.wait(lock, [created] { return !created->tasks.empty(); });
          task = std::move(created->tasks.front());
          created->tasks.pop_front();
        }
        task();
      }
    }).detach();
    return created;
  }();
  std::packaged_task<pid_t()> task(fork);
  auto result = task.get_future();
  {
    std::lock_guard<std::mutex> lock(queue->mutex);
    queue->tasks.push_back(std::move(task));
  }
  queue->ready.notify_one();
  return result.get();
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
    const auto stat = readStat(info.pid);
    if (!stat) {
      continue;  // ended meanwhile
    }
    info.ppid = stat->ppid;
    info.startTicks = stat->startTicks;
    info.zombie = stat->state == 'Z' || stat->state == 'X';
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

std::string findProgram(const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) {
    return name;
  }
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    struct stat st;
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return name;
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
  std::vector<char*> argv;
  argv.reserve(options.argv.size() + 1);
  for (const auto& a : options.argv) {
    argv.push_back(const_cast<char*>(a.c_str()));
  }
  argv.push_back(nullptr);
  const std::string program = fromHere(options.program.empty() ? options.argv[0] : options.program);
  if (options.endWithParent) {
    int code = 0;
    const pid_t pid =
        onForkThread([&] { return forkWithParentDeath(options, program, argv.data(), &code); });
    if (pid < 0) {
      return fail(code, program.c_str());
    }
    return static_cast<int>(pid);
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, options.stdoutPath.c_str(),
                                   O_WRONLY | O_CREAT | stdoutMode(options), 0600);
  posix_spawn_file_actions_addopen(&actions, 2, options.stderrPath.c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (!options.workingDirectory.empty()) {
    // After the streams, so that their names mean what they mean to the caller.
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
  }
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

  pid_t pid = 0;
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
  const auto stat = readStat(pid);
  return stat && stat->state != 'Z' && stat->state != 'X';
}

int currentProcessId() {
  return static_cast<int>(::getpid());
}

int currentUserId() {
  return static_cast<int>(::getuid());
}

}  // namespace kelvara::platform
