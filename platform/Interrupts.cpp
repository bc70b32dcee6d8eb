#include "platform/Interrupts.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace kelvara::platform {

void InterruptWatcher::start(std::function<void()> onFirst, std::function<void()> onSecond) {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread([set, first = std::move(onFirst), second = std::move(onSecond)] {
    bool seen = false;
    for (;;) {
      int signal = 0;
      if (sigwait(&set, &signal) != 0) {
        continue;
      }
      if (!seen) {
        seen = true;
        first();
      } else {
        second();
      }
    }
  }).detach();
}

}  // namespace kelvara::platform
