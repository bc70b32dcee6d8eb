#pragma once

#include <string>

namespace kelvara::app {

// The name of a help command number for the diagnostic log: the number, a blank and its text in
// brackets, e.g. "1 (HELP_CONTEXT)"; an unknown number's text is "??".
std::string HelpCommandName(int command);

}  // namespace kelvara::app
