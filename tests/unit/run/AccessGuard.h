#pragma once

#include <sys/capability.h>
#include <unistd.h>

namespace kelvara::testing {

// While alive, file permissions bind this process even when it runs as root: the capabilities
// that override them are taken out of the effective set (and put back at the end). active() is
// false when permissions cannot be made to bind.
class PermissionsBind {
 public:
  PermissionsBind() {
    if (::geteuid() != 0) {
      active_ = true;
      return;
    }
    saved_ = cap_get_proc();
    cap_t reduced = cap_get_proc();
    if (!saved_ || !reduced) {
      return;
    }
    const cap_value_t overrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH};
    active_ = cap_set_flag(reduced, CAP_EFFECTIVE, 2, overrides, CAP_CLEAR) == 0 &&
              cap_set_proc(reduced) == 0;
    cap_free(reduced);
  }
  ~PermissionsBind() {
    if (saved_) {
      cap_set_proc(saved_);
      cap_free(saved_);
    }
  }
  PermissionsBind(const PermissionsBind&) = delete;
  PermissionsBind& operator=(const PermissionsBind&) = delete;

  bool active() const { return active_; }

 private:
  cap_t saved_ = nullptr;
  bool active_ = false;
};

}  // namespace kelvara::testing
