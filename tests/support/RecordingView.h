#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/RunView.h"

namespace kelvara::testing {

// Remembers what a run showed and answers questions as told.
class RecordingView : public run::RunView {
 public:
  std::vector<std::string> states, progress, hints, messages, errors, questions, trayHints;
  std::vector<std::string> pathBoxes;
  run::RunCounters counters;
  bool answer = true;
  bool runEnabled = true;
  int beeps = 0;
  int checkpoints = 0;
  std::function<void()> onCheckpoint;

  void setConversionState(const std::string& text) override { states.push_back(text); }
  void setConversionStateHint(const std::string& text) override { hints.push_back(text); }
  void setProgress(const std::string& text) override {
    if (!text.empty()) {
      progress.push_back(text);
    }
  }
  void setPathBoxes(const std::string& in, const std::string& out) override {
    pathBoxes.push_back(in + " | " + out);
  }
  void setOutputPathBox(const std::string& out) override { pathBoxes.push_back("| " + out); }
  void setRunEnabled(bool enabled) override { runEnabled = enabled; }
  void setCounters(const run::RunCounters& c) override { counters = c; }
  void setTrayHint(const std::string& text) override { trayHints.push_back(text); }
  void showMessage(const std::string& text) override { messages.push_back(text); }
  void showError(const std::string& text, const std::string& title) override {
    errors.push_back(title + ": " + text);
  }
  bool askYesNo(const std::string& text, const std::string& title) override {
    questions.push_back(title + ": " + text);
    return answer;
  }
  void beep() override { ++beeps; }
  void processPendingMessages() override {
    ++checkpoints;
    if (onCheckpoint) {
      onCheckpoint();
    }
  }
};

}  // namespace kelvara::testing
