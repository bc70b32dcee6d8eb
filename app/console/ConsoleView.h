#pragma once

#include <cstdio>
#include <string>

#include "run/BatchRun.h"
#include "run/RunView.h"

namespace kelvara::app {

// The run as a console shows it: on a terminal one progress line that is redrawn, with results
// and problems printed above it; redirected, one plain line per event. Questions get the
// cautious answer unless the operator said --yes.
class ConsoleView : public run::RunView {
 public:
  ConsoleView(std::FILE* out, bool terminal, bool assumeYes);
  ~ConsoleView() override;

  void setConversionState(const std::string& text) override;
  void setConversionStateHint(const std::string& text) override;
  void setProgress(const std::string& text) override;
  void setCounters(const run::RunCounters& counters) override;
  void showMessage(const std::string& text) override;
  void showError(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;

  // Prints a line above the progress line (or plainly when redirected).
  void printLine(const std::string& text);
  // Removes the progress line before the program prints its summary.
  void finish();

 private:
  void redraw();

  std::FILE* out_;
  bool terminal_;
  bool assumeYes_;
  run::RunCounters counters_;
  std::string state_;
  std::string lastProgress_;
  bool lineShown_ = false;
};

// "\r\n" in the program's texts becomes one line break per pair; surrounding breaks go.
std::string ConsoleText(const std::string& text);

}  // namespace kelvara::app
