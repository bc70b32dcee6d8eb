#pragma once

#include <cstddef>
#include <string_view>

namespace kelvara::wordstar {

// A line that starts with a period in its first column tells the printer what to do and is not
// printed itself. The few that change what a reader sees are told apart; the rest (margins,
// page length, printer settings, comments) leave no trace.
struct DotCommand {
  enum class Kind { Other, PageBreak, Header, Footer, CentreOn, CentreOff };
  Kind kind = Kind::Other;
  int line = 1;          // header or footer line, 1 to 5
  size_t textStart = 0;  // where a header's or footer's text starts in the line
};

// True when the line (its bytes from the period on, high bits already cleared) is a dot
// command: every line with a period in its first column is one, unknown ones ("..", ". note")
// included, which WordStar does not print either.
bool isDotCommand(std::string_view line);

// The command of a dot-command line, which is given without its line end.
DotCommand parseDotCommand(std::string_view line);

}  // namespace kelvara::wordstar
