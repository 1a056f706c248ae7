// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

#include "FileIo.h"
#include "ListCommands.h"
#include "ListFolder.h"

namespace tenaxo {

namespace {
// In the user's own runtime folder (mode 0700), where no other user can
// put a lock or a socket of that name first.
QString InstanceName(const QString& settingsFile) {
  const QByteArray key = QByteArray::number(static_cast<qulonglong>(getuid())) + '\n' +
                         QFile::encodeName(QFileInfo(settingsFile).absoluteFilePath());
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + QStringLiteral("/tenaxo-") +
         QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

constexpr int kWaitMs = 2000;
// The files' list between copies, which may be of different versions.
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_0;
}  // namespace

SingleInstance::SingleInstance(const QString& settingsFile, QObject* parent)
    : QObject(parent), name_(InstanceName(settingsFile)), lock_(name_ + QStringLiteral(".lock")) {
  // Only a lock whose process is gone is stale, however old it is.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  delete server_;  // removes the socket file before the lock goes
}

bool SingleInstance::Claim(const QStringList& files) {
  if (!lock_.tryLock(0)) {
    // Another copy holds the lock: a connection is the request to come
    // forward, the files it carries the ones to open.
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (socket.waitForConnected(kWaitMs)) {
      QByteArray message;
      QDataStream out(&message, QIODevice::WriteOnly);
      out.setVersion(kStreamVersion);
      out << files;
      socket.write(message);
      // Waits until every byte is written.
      socket.disconnectFromServer();
      if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kWaitMs);
    }
    return false;
  }
  // Ours alone now: a socket file left by a crash can go.
  QLocalServer::removeServer(name_);
  server_ = new QLocalServer();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      // The whole message is in the socket's buffer once the later copy has gone.
      connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        socket->deleteLater();
        QDataStream in(socket->readAll());
        in.setVersion(kStreamVersion);
        QStringList sent;
        in >> sent;
        emit Activated(in.status() == QDataStream::Ok ? sent : QStringList());
      });
    }
  });
  // Without a socket later copies cannot find this one, but this one runs.
  server_->listen(name_);
  return true;
}

void RemoveLeftovers(qint64 startedSecs) {
  RemoveLeftoverSaves(AppFolder(), startedSecs);
  RemoveLeftoverSaves(ListCommands::RescueFolder(), startedSecs);
}

void BringToFront(QWidget* window) {
  window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace tenaxo
