#include "wordstar/DotCommand.h"

#include <cctype>

namespace kelvara::wordstar {
namespace {

char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool isLetter(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// The text after a header or footer command: one blank separates it from the command, further
// blanks position it and are kept.
size_t textAfter(std::string_view line, size_t commandEnd) {
  if (commandEnd < line.size() && line[commandEnd] == ' ') {
    return commandEnd + 1;
  }
  return commandEnd;
}

}  // namespace

bool isDotCommand(std::string_view line) {
  return !line.empty() && line[0] == '.';
}

DotCommand parseDotCommand(std::string_view line) {
  DotCommand command;
  if (line.size() < 3 || line[0] != '.' || !isLetter(line[1])) {
    return command;
  }
  const char a = lower(line[1]);
  const char b = lower(line[2]);
  if (a == 'p' && b == 'a') {
    command.kind = DotCommand::Kind::PageBreak;
  } else if (a == 'h' && (b == 'e' || (b >= '1' && b <= '5'))) {
    command.kind = DotCommand::Kind::Header;
    command.line = b == 'e' ? 1 : b - '0';
    command.textStart = textAfter(line, 3);
  } else if (a == 'f' && (b == 'o' || (b >= '1' && b <= '5'))) {
    command.kind = DotCommand::Kind::Footer;
    command.line = b == 'o' ? 1 : b - '0';
    command.textStart = textAfter(line, 3);
  } else if (a == 'o' && b == 'c') {
    // ".oc on" centres the lines that follow, ".oc off" ends it; a bare ".oc" means on.
    std::string_view rest = line.substr(3);
    while (!rest.empty() && rest.front() == ' ') {
      rest.remove_prefix(1);
    }
    const bool off =
        rest.size() >= 3 && lower(rest[0]) == 'o' && lower(rest[1]) == 'f' && lower(rest[2]) == 'f';
    command.kind = off ? DotCommand::Kind::CentreOff : DotCommand::Kind::CentreOn;
  }
  return command;
}

}  // namespace kelvara::wordstar
