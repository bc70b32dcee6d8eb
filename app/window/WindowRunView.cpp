#include "app/window/WindowRunView.h"

#include <QApplication>
#include <QThread>

#include "app/window/MainWindow.h"

namespace kelvara::window {

void WindowRunView::post(std::function<void()> call) {
  if (QThread::currentThread() == window_.thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&window_, std::move(call), Qt::QueuedConnection);
}

void WindowRunView::wait(const std::function<void()>& call) {
  if (QThread::currentThread() == window_.thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(&window_, call, Qt::BlockingQueuedConnection);
}

void WindowRunView::processPendingMessages() {
  std::unique_lock lock(parkMutex_);
  if (!parkRequested_) {
    return;
  }
  parked_ = true;
  parkChanged_.notify_all();
  parkChanged_.wait(lock, [this] { return !parkRequested_; });
  parked_ = false;
}

void WindowRunView::whileRunParked(const std::function<bool()>& running,
                                   const std::function<void()>& change) {
  if (!running()) {
    change();
    return;
  }
  {
    const std::lock_guard lock(parkMutex_);
    parkRequested_ = true;
  }
  // The run may be waiting for the window (a question, a blocking update): keep serving it.
  for (;;) {
    {
      std::unique_lock lock(parkMutex_);
      if (parkChanged_.wait_for(lock, std::chrono::milliseconds(20), [this] { return parked_; })) {
        break;
      }
    }
    if (!running()) {
      break;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  change();
  {
    const std::lock_guard lock(parkMutex_);
    parkRequested_ = false;
  }
  parkChanged_.notify_all();
}

void WindowRunView::setConversionState(const std::string& text) {
  post([this, text] { window_.setConversionState(text); });
}

void WindowRunView::setConversionStateHint(const std::string& text) {
  post([this, text] { window_.setConversionStateHint(text); });
}

void WindowRunView::setProgress(const std::string& text) {
  post([this, text] { window_.setProgress(text); });
}

void WindowRunView::setPathBoxes(const std::string& input, const std::string& output) {
  post([this, input, output] { window_.setPathBoxes(input, output); });
}

void WindowRunView::setOutputPathBox(const std::string& output) {
  post([this, output] { window_.setOutputPathBox(output); });
}

void WindowRunView::setPathHints(const std::string& input, const std::string& output) {
  post([this, input, output] { window_.setPathHints(input, output); });
}

void WindowRunView::setDocumentHint(const std::string& text) {
  post([this, text] { window_.setDocumentHint(text); });
}

void WindowRunView::setCounters(const run::RunCounters& counters) {
  post([this, counters] { window_.setCounters(counters); });
}

void WindowRunView::setTotalEstimate(int files) {
  post([this, files] { window_.setTotalEstimate(files); });
}

void WindowRunView::setTrayHint(const std::string& text) {
  post([this, text] { window_.setTrayHint(text); });
}

void WindowRunView::setBusy(bool busy) {
  // The run reads the window's state right after; let it be in place first.
  wait([this, busy] { window_.setBusy(busy); });
}

void WindowRunView::setRunEnabled(bool enabled) {
  post([this, enabled] { window_.setRunEnabled(enabled); });
}

void WindowRunView::refreshFreeDisk() {
  post([this] { window_.refreshFreeDisk(); });
}

void WindowRunView::setIndicator(metadata::Indicator which, metadata::LedColor color, bool off) {
  post([this, which, color, off] { window_.setIndicator(which, color, off); });
}

void WindowRunView::showMessage(const std::string& text) {
  wait([this, text] { window_.showMessage(text); });
}

void WindowRunView::showError(const std::string& text, const std::string& title) {
  wait([this, text, title] { window_.showError(text, title); });
}

bool WindowRunView::askYesNo(const std::string& text, const std::string& title) {
  bool answer = false;
  wait([this, text, title, &answer] { answer = window_.askYesNo(text, title); });
  return answer;
}

void WindowRunView::beep() {
  post([] { QApplication::beep(); });
}

}  // namespace kelvara::window
