#include "app/help/HelpCommands.h"

#include <utility>

namespace kelvara::app {

std::string HelpCommandName(int command) {
  static const std::pair<int, const char*> kNames[] = {
      {1, "HELP_CONTEXT"},
      {2, "HELP_QUIT"},
      {3, "HELP_INDEX or HELP_CONTENTS"},
      {4, "HELP_HELPONHELP"},
      {5, "HELP_SETINDEX or HELP_SETCONTENTS"},
      {8, "HELP_CONTEXTPOPUP"},
      {9, "HELP_FORCEFILE"},
      {10, "HELP_CONTEXTMENU"},
      {11, "HELP_FINDER"},
      {12, "HELP_WM_HELP"},
      {13, "HELP_SETPOPUP_POS"},
      {257, "HELP_KEY"},
      {258, "HELP_COMMAND"},
      {261, "HELP_PARTIALKEY"},
      {513, "HELP_MULTIKEY"},
      {515, "HELP_SETWINPOS"},
  };
  const char* text = "??";
  for (const auto& [number, name] : kNames) {
    if (number == command) {
      text = name;
    }
  }
  return std::to_string(command) + " (" + text + ")";
}

}  // namespace kelvara::app
