#include "app/window/EngineThread.h"

namespace kelvara::window {

EngineThread::EngineThread(QObject* parent) : QObject(parent) {
  thread_.setObjectName("kelvara-run");
  worker_.moveToThread(&thread_);
  thread_.start();
}

EngineThread::~EngineThread() {
  finish();
}

void EngineThread::post(std::function<void()> job) {
  QMetaObject::invokeMethod(&worker_, std::move(job), Qt::QueuedConnection);
}

void EngineThread::finish() {
  if (thread_.isRunning()) {
    // Queued behind the jobs already posted, so they all run first.
    QMetaObject::invokeMethod(
        &worker_, [this] { thread_.quit(); }, Qt::QueuedConnection);
    thread_.wait();
  }
}

}  // namespace kelvara::window
