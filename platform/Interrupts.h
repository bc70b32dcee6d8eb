#pragma once

#include <functional>

namespace kelvara::platform {

// What a request to end the program means for the run.
enum class EndAction { None, Stop, Abort };

// Decides each request: the first one of any kind stops the run after the current document; a
// later interrupt aborts. A hangup never aborts: a closing terminal delivers more than one (the
// shell forwards its own, the kernel sends another), and nobody is left to want it faster.
class EndRequests {
 public:
  enum class Kind { Interrupt, Hangup };
  EndAction on(Kind kind);

 private:
  bool stopping_ = false;
};

// Turns the signals that ask a program to end into calls on a thread of their own: Ctrl+C
// (SIGINT), SIGTERM and SIGQUIT as interrupts, SIGHUP (closed terminal, dropped session) as a
// hangup; EndRequests decides between onStop and onAbort. Signals that were ignored when the
// program started stay ignored (nohup, background jobs of scripts). Call start() before any other
// thread exists, so that every thread inherits the blocked signals and only the watcher
// receives them.
class InterruptWatcher {
 public:
  static void start(std::function<void()> onStop, std::function<void()> onAbort);
};

}  // namespace kelvara::platform
