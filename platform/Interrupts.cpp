#include "platform/Interrupts.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace kelvara::platform {

EndAction EndRequests::on(Kind kind) {
  if (!stopping_) {
    stopping_ = true;
    return EndAction::Stop;
  }
  return kind == Kind::Interrupt ? EndAction::Abort : EndAction::None;
}

namespace {

bool ignoredAtStart(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

void InterruptWatcher::start(std::function<void()> onStop, std::function<void()> onAbort) {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : {SIGINT, SIGTERM, SIGQUIT, SIGHUP}) {
    if (!ignoredAtStart(signal)) {
      sigaddset(&set, signal);
    }
  }
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set, stop = std::move(onStop), abort = std::move(onAbort)] {
    EndRequests requests;
    for (;;) {
      int signal = 0;
      if (sigwait(&set, &signal) != 0) {
        continue;
      }
      const auto kind = signal == SIGHUP ? EndRequests::Kind::Hangup : EndRequests::Kind::Interrupt;
      switch (requests.on(kind)) {
        case EndAction::Stop:
          stop();
          break;
        case EndAction::Abort:
          abort();
          break;
        case EndAction::None:
          break;
      }
    }
  }).detach();
}

}  // namespace kelvara::platform
