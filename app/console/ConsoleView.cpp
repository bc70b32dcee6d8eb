#include "app/console/ConsoleView.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>

namespace kelvara::app {
namespace {

size_t terminalWidth(std::FILE* out) {
  winsize ws{};
  if (ioctl(fileno(out), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 20) {
    return ws.ws_col;
  }
  return 80;
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

std::string trimRight(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

std::string ConsoleText(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      continue;
    }
    result += text[i];
  }
  while (!result.empty() && result.back() == '\n') {
    result.pop_back();
  }
  while (!result.empty() && result.front() == '\n') {
    result.erase(result.begin());
  }
  return result;
}

ConsoleView::ConsoleView(std::FILE* out, bool terminal, bool assumeYes)
    : out_(out), terminal_(terminal), assumeYes_(assumeYes) {}

ConsoleView::~ConsoleView() {
  finish();
}

void ConsoleView::finish() {
  if (terminal_ && lineShown_) {
    std::fputs("\r\033[K", out_);
    std::fflush(out_);
    lineShown_ = false;
  }
}

std::string ConsoleView::progressSummary() const {
  const int done = counters_.FilesAnalyzed;
  std::string text = std::to_string(done);
  if (total_) {
    text += "/" + std::to_string(std::max(*total_, done));
  }
  text += " docs";
  if (!started_ || done == 0) {
    return text;
  }
  const double seconds = std::chrono::duration<double>(clock() - *started_).count();
  if (seconds <= 0) {
    return text;
  }
  const double rate = done / seconds;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, ", %.1f/s", rate);
  text += buffer;
  if (total_ && *total_ > done) {
    const auto left = static_cast<long long>((*total_ - done) / rate + 0.5);
    std::snprintf(buffer, sizeof buffer, ", %lld:%02lld left", left / 60, left % 60);
    text += buffer;
  }
  return text;
}

void ConsoleView::redraw() {
  if (!terminal_) {
    return;
  }
  std::string line = "[" + progressSummary() + ": " + std::to_string(counters_.FilesConverted) +
                     " ok, " + std::to_string(counters_.FilesInError) + " err, " +
                     std::to_string(counters_.FilesSkipped) + " skip] " + trimRight(state_);
  const size_t width = terminalWidth(out_) - 1;
  if (line.size() > width) {
    line = line.substr(0, width);
  }
  std::fputs(("\r\033[K" + line).c_str(), out_);
  std::fflush(out_);
  lineShown_ = true;
}

void ConsoleView::printLine(const std::string& text) {
  const std::string clean = ConsoleText(text);
  if (clean.empty()) {
    return;
  }
  finish();
  std::fputs((clean + "\n").c_str(), out_);
  std::fflush(out_);
  redraw();
}

void ConsoleView::setConversionState(const std::string& text) {
  state_ = text;
  // Redirected output gets one line per document result.
  if (startsWith(text, "Converted ") || startsWith(text, "Skipped ") ||
      text == "Conversion terminated") {
    if (!terminal_) {
      printLine(trimRight(text));
    }
  }
  redraw();
}

void ConsoleView::setConversionStateHint(const std::string& text) {
  // An error's message arrives as the hint, just before the state says ": Error ".
  if (!text.empty() && text != "No errors") {
    printLine(trimRight(state_.substr(0, state_.find("..."))) + ": Error - " + text);
  }
}

void ConsoleView::setProgress(const std::string& text) {
  const std::string clean = ConsoleText(text);
  // Log separators are for the log files, not for the operator's screen.
  if (clean.empty() || clean == lastProgress_ ||
      clean.find_first_not_of('_') == std::string::npos) {
    return;
  }
  lastProgress_ = clean;
  printLine(clean);
}

void ConsoleView::setCounters(const run::RunCounters& counters) {
  counters_ = counters;
  if (!started_) {
    started_ = clock();
  }
  redraw();
}

void ConsoleView::setTotalEstimate(int files) {
  total_ = files;
  redraw();
}

void ConsoleView::showMessage(const std::string& text) {
  printLine(text);
}

void ConsoleView::showError(const std::string& text, const std::string& /*title*/) {
  printLine("Error: " + ConsoleText(text));
}

bool ConsoleView::askYesNo(const std::string& text, const std::string& /*title*/) {
  printLine(ConsoleText(text));
  printLine(assumeYes_ ? "Answered Yes (--yes)." : "Answered No (give --yes to answer Yes).");
  return assumeYes_;
}

}  // namespace kelvara::app
