#include "platform/SystemError.h"

#include <cstring>

namespace kelvara::platform {
namespace {

// strerror_r comes in two flavours (XSI returns int, GNU returns the text); accept either.
[[maybe_unused]] const char* pickText(int rc, const char* buffer) {
  return rc == 0 ? buffer : nullptr;
}
[[maybe_unused]] const char* pickText(const char* text, const char* /*buffer*/) {
  return text;
}

}  // namespace

std::string systemErrorText(int code) {
  char buffer[256] = {};
  const char* text = pickText(strerror_r(code, buffer, sizeof buffer), buffer);
  if (text == nullptr || *text == '\0') {
    return "Unknown error " + std::to_string(code);
  }
  return text;
}

}  // namespace kelvara::platform
