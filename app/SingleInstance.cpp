#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "mainwindow/LocalFileName.h"

namespace orv {

namespace {
constexpr int kHeaderBytes = 8;
constexpr char kAck = 1;
// A secondary may start while the primary holds the lock but is not listening yet.
constexpr int kConnectRetryMs = 50;
constexpr mode_t kPrivateMode = 0700;

// The other end of a connected local socket runs as this process's user.
bool peerIsThisUser(qintptr descriptor) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return descriptor >= 0 &&
         ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
         peer.uid == ::geteuid();
}

// `path` as a folder of this user's with no access for others, made when it is missing.
QString privateFolder(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  ::mkdir(name.constData(), kPrivateMode);
  struct stat st {};
  if (::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid())
    ::chmod(name.constData(), kPrivateMode);
  return SingleInstance::isPrivateFolder(path) ? path : QString();
}
}  // namespace

SingleInstance::SingleInstance(QString directory, QString key, QObject* parent)
    : QObject(parent), directory_(std::move(directory)), key_(std::move(key)) {}

SingleInstance::~SingleInstance() {
  if (server_) server_->close();  // removes the socket file
  if (lock_) lock_->unlock();
}

QString SingleInstance::defaultDirectory() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty() && isPrivateFolder(runtime)) return runtime;
  // Never the shared temporary folder: anyone could plant a lock and a listener there.
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  if (cache.isEmpty() || !QDir().mkpath(cache)) return QString();
  return privateFolder(QDir(cache).filePath(QStringLiteral("orv-editor")));
}

bool SingleInstance::isPrivateFolder(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString SingleInstance::defaultKey() {
  return QStringLiteral("orv-editor-%1").arg(quint64(::getuid()));
}

QString SingleInstance::serverName() const {
  return QDir(directory_).filePath(key_ + QStringLiteral(".sock"));
}

SingleInstance::Role SingleInstance::acquire() {
  if (directory_.isEmpty() || !QDir().mkpath(directory_) || !isPrivateFolder(directory_)) {
    std::fprintf(stderr,
                 "orv-editor: no private folder for the instance lock (%s); this editor runs "
                 "alone and files cannot be handed over to it\n",
                 qPrintable(directory_));
    return Role::Primary;
  }
  lock_ = std::make_unique<QLockFile>(QDir(directory_).filePath(key_ + QStringLiteral(".lock")));
  // Only a dead owner makes a lock stale, never its age: an editor may run for days.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    if (!listen()) std::fprintf(stderr, "orv-editor: files cannot be handed over to this window\n");
    return Role::Primary;
  }
  if (lock_->error() == QLockFile::LockFailedError) {
    lock_.reset();
    return Role::Secondary;
  }
  std::fprintf(stderr, "orv-editor: cannot create the instance lock in %s\n",
               qPrintable(directory_));
  lock_.reset();
  return Role::Primary;
}

bool SingleInstance::listen() {
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // We hold the lock, so a socket file left behind is a dead instance's.
  QLocalServer::removeServer(serverName());
  if (!server_->listen(serverName())) {
    delete server_;
    server_ = nullptr;
    return false;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
  return true;
}

void SingleInstance::onNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (!peerIsThisUser(socket->socketDescriptor())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    // A connection whose hand-over is still to be dealt with stays until then.
    connect(socket, &QLocalSocket::disconnected, socket, [socket] {
      if (!socket->property("pending").toBool()) socket->deleteLater();
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    // A client that sends nothing does not keep its connection.
    QTimer::singleShot(idleTimeoutMs_, socket, [socket] {
      if (!socket->property("done").toBool()) socket->abort();
    });
    if (socket->bytesAvailable() > 0) onReadyRead(socket);
  }
}

// The hand-over is dealt with after the socket's signal has returned: whatever answers it may
// run a nested event loop (a message box), in which the connection closes. The answer goes back
// only once the file was taken.
void SingleInstance::deliverLater(QLocalSocket* socket, const QString& path) {
  socket->setProperty("pending", true);
  QMetaObject::invokeMethod(
      this,
      [this, socket = QPointer<QLocalSocket>(socket), path] {
        const bool taken = receiver_ && receiver_(path);
        if (!socket) return;
        if (taken) {
          socket->write(&kAck, 1);
          socket->flush();
        }
        socket->disconnectFromServer();
        socket->deleteLater();
      },
      Qt::QueuedConnection);
}

void SingleInstance::onReadyRead(QLocalSocket* socket) {
  if (socket->property("done").toBool()) return;
  if (socket->bytesAvailable() < kHeaderBytes) return;
  const QByteArray header = socket->peek(kHeaderBytes);
  QDataStream in(header);
  quint32 id = 0, length = 0;
  in >> id >> length;
  if (id != kHandOverId || length > kMaxPathBytes) {
    socket->setProperty("done", true);
    socket->abort();  // not one of ours, or absurd: drop it
    return;
  }
  if (socket->bytesAvailable() < kHeaderBytes + qint64(length)) return;
  socket->read(kHeaderBytes);
  const QString path = LocalFileName::decode(socket->read(length));
  socket->setProperty("done", true);
  deliverLater(socket, path);
}

bool SingleInstance::handOver(const QString& path, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QLocalSocket socket;
  for (;;) {
    socket.connectToServer(serverName());
    if (socket.waitForConnected(std::max<qint64>(1, timeoutMs - clock.elapsed()))) break;
    if (clock.elapsed() >= timeoutMs) return false;
    QThread::msleep(kConnectRetryMs);
  }
  // Whoever listens there must be this user's own editor: nothing goes to anyone else.
  if (!peerIsThisUser(socket.socketDescriptor())) return false;
  const QByteArray bytes = LocalFileName::encode(path);
  if (quint32(bytes.size()) > kMaxPathBytes) return false;
  QByteArray message;
  QDataStream out(&message, QIODevice::WriteOnly);
  out << kHandOverId << quint32(bytes.size());
  message.append(bytes);
  socket.write(message);
  while (socket.bytesToWrite() > 0)
    if (!socket.waitForBytesWritten(std::max<qint64>(1, timeoutMs - clock.elapsed()))) return false;
  while (socket.bytesAvailable() < 1)
    if (!socket.waitForReadyRead(std::max<qint64>(1, timeoutMs - clock.elapsed()))) return false;
  char ack = 0;
  return socket.read(&ack, 1) == 1 && ack == kAck;
}

}  // namespace orv
