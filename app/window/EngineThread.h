#pragma once

#include <QObject>
#include <QThread>
#include <functional>

namespace kelvara::window {

// The thread that owns the office and the run: jobs posted to it run one after another, in the
// order posted, so the window stays live while the office starts or a long document converts.
class EngineThread : public QObject {
  Q_OBJECT
 public:
  explicit EngineThread(QObject* parent = nullptr);
  ~EngineThread() override;

  void post(std::function<void()> job);
  // Waits for the jobs posted so far, then ends the thread.
  void finish();
  bool isCurrent() const { return QThread::currentThread() == &thread_; }

 private:
  QThread thread_;
  QObject worker_;  // lives on thread_; the jobs are queued to it
};

}  // namespace kelvara::window
