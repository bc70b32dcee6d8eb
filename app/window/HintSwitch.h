#pragma once

namespace kelvara::window {

// Whether the program's controls show their hints (tool tips), for every window at once.
void setApplicationHints(bool on);
bool applicationHints();

}  // namespace kelvara::window
