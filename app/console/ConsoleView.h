#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
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
  // A line per section of every document would bury what matters; the console shows none.
  void setSectionProgress(const std::string&) override {}
  void setCounters(const run::RunCounters& counters) override;
  void setTotalEstimate(int files) override;
  void showMessage(const std::string& text) override;
  void showError(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;

  // Prints a line above the progress line (or plainly when redirected).
  void printLine(const std::string& text);
  // Removes the progress line before the program prints its summary.
  void finish();

  // "12/340 docs, 3.4/s, 1:35 left": what someone waiting on a large archive wants to know.
  std::string progressSummary() const;

  // Test seam: the clock that rates are measured with.
  std::function<std::chrono::steady_clock::time_point()> clock = std::chrono::steady_clock::now;

 private:
  void redraw();

  std::FILE* out_;
  bool terminal_;
  bool assumeYes_;
  run::RunCounters counters_;
  std::optional<int> total_;
  std::optional<std::chrono::steady_clock::time_point> started_;
  std::string state_;
  std::string lastProgress_;
  bool lineShown_ = false;
};

// "\r\n" in the program's texts becomes one line break per pair; surrounding breaks go.
std::string ConsoleText(const std::string& text);

}  // namespace kelvara::app
