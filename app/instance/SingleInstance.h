#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <string>

#include "platform/FileLock.h"

class QLocalServer;

namespace kelvara::instance {

// One copy of the program per user: the first copy holds a lock file and listens on a local
// socket beside it; a later copy finds the lock taken and asks the first, through the socket, to
// show itself. The lock goes with the process, so a crash leaves none behind.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // Takes the lock in folder (made when missing). A folder that cannot hold the lock lets every
  // copy run rather than none.
  explicit SingleInstance(const std::string& folder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Another copy holds the lock.
  bool anotherRuns() const { return lock_ && lock_->busy(); }
  // For the first copy: answers later copies from now on; false when the socket cannot be made.
  bool listen();
  // For a later copy: hands its parameters to the first copy, which shows itself; false when
  // the first copy did not answer in time.
  bool activateFirst(const QStringList& params, int timeoutMs = 3000);

 signals:
  // A later copy asked this one to show itself.
  void activationRequested(const QStringList& params);

 private:
  std::string socketPath_;
  std::unique_ptr<platform::FileLock> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace kelvara::instance
