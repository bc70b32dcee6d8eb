#pragma once

#include <string>

namespace kelvara::platform {

// The system's message text for an errno value ("No space left on device").
std::string systemErrorText(int code);

}  // namespace kelvara::platform
