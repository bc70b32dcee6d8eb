#include "app/instance/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "platform/Paths.h"

namespace kelvara::instance {
namespace {

// The parameters travel as one line of NUL-separated UTF-8 words, ended by a newline.
QByteArray encode(const QStringList& params) {
  QByteArray data = params.join(QChar(0)).toUtf8();
  data.append('\n');
  return data;
}

QStringList decode(QByteArray data) {
  if (data.endsWith('\n')) {
    data.chop(1);
  }
  if (data.isEmpty()) {
    return {};
  }
  return QString::fromUtf8(data).split(QChar(0));
}

}  // namespace

SingleInstance::SingleInstance(const std::string& folder, QObject* parent) : QObject(parent) {
  if (!platform::ensureDir(folder)) {
    return;
  }
  socketPath_ = folder + "/kelvara.socket";
  lock_ =
      std::make_unique<platform::FileLock>(folder + "/kelvara.lock", platform::FileLock::Wait::No);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::listen() {
  if (socketPath_.empty() || anotherRuns()) {
    return false;
  }
  // A socket file left by a crashed copy: the lock says nobody listens on it.
  QLocalServer::removeServer(QString::fromStdString(socketPath_));
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(QString::fromStdString(socketPath_))) {
    return false;
  }
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) {
          return;
        }
        const QStringList params = decode(socket->readLine());
        socket->write("ok\n");
        socket->flush();
        emit activationRequested(params);
      });
    }
  });
  return true;
}

bool SingleInstance::activateFirst(const QStringList& params, int timeoutMs) {
  if (socketPath_.empty()) {
    return false;
  }
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(socketPath_));
  if (!socket.waitForConnected(timeoutMs)) {
    return false;
  }
  socket.write(encode(params));
  if (!socket.waitForBytesWritten(timeoutMs)) {
    return false;
  }
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) {
      return false;
    }
  }
  return socket.readLine().startsWith("ok");
}

}  // namespace kelvara::instance
