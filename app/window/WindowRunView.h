#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include "run/RunView.h"

namespace kelvara::window {

class MainWindow;

// The run's view of the main window. The run calls it on the engine thread; every call is
// handed to the window's thread in order, and questions and message boxes wait there for the
// person's answer while the run waits for it.
class WindowRunView : public run::RunView {
 public:
  explicit WindowRunView(MainWindow& window) : window_(window) {}

  void setConversionState(const std::string& text) override;
  void setConversionStateHint(const std::string& text) override;
  void setProgress(const std::string& text) override;
  void setPathBoxes(const std::string& input, const std::string& output) override;
  void setOutputPathBox(const std::string& output) override;
  void setPathHints(const std::string& input, const std::string& output) override;
  void setDocumentHint(const std::string& text) override;
  void setCounters(const run::RunCounters& counters) override;
  void setTotalEstimate(int files) override;
  void setTrayHint(const std::string& text) override;
  void setBusy(bool busy) override;
  void setRunEnabled(bool enabled) override;
  void refreshFreeDisk() override;
  void setIndicator(metadata::Indicator which, metadata::LedColor color, bool off) override;
  void showMessage(const std::string& text) override;
  void showError(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;
  void beep() override;
  // The run's checkpoint: parks the run here while the window changes the settings it reads.
  void processPendingMessages() override;

  // On the window's thread: runs `change` once the run is parked at a checkpoint, keeping the
  // window live meanwhile; at once when no run is under way (`running` says so, read again
  // while waiting since the run may end instead of reaching a checkpoint).
  void whileRunParked(const std::function<bool()>& running, const std::function<void()>& change);

 private:
  // Runs on the window's thread: queued after the earlier calls, or at once when already there.
  void post(std::function<void()> call);
  // The same, waiting for it to finish.
  void wait(const std::function<void()>& call);

  MainWindow& window_;
  std::mutex parkMutex_;
  std::condition_variable parkChanged_;
  bool parkRequested_ = false;
  bool parked_ = false;
};

}  // namespace kelvara::window
