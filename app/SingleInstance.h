#pragma once
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace orv {

// One editor per user. The first instance holds a lock file (released by the system when the
// process dies, so a crash never blocks the next start) and listens on a local socket; a later
// instance finds the lock taken and hands its file to the first one over that socket.
//
// Hand-over message: identifier (uint32, big-endian, always 1), path length in bytes (uint32),
// the path in UTF-8. The receiver answers one byte (1) once the message is complete.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Role { Primary, Secondary };
  static constexpr quint32 kHandOverId = 1;
  static constexpr quint32 kMaxPathBytes = 64 * 1024;

  // `directory` holds the lock file and the socket; `key` names them. The defaults are the
  // user's runtime folder and a name carrying the user id.
  explicit SingleInstance(QString directory = defaultDirectory(), QString key = defaultKey(),
                          QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the lock and starts listening (Primary), or finds another instance (Secondary).
  // A lock that cannot be created at all (unwritable folder) gives Primary without hand-over.
  Role acquire();
  // Secondary: hands `path` to the running instance; true once it confirmed receipt.
  bool handOver(const QString& path, int timeoutMs = 3000);

  QString serverName() const;
  static QString defaultDirectory();
  static QString defaultKey();

 signals:
  // Primary: a later instance handed over this file (always from the event loop, never from
  // inside the connection's own signals).
  void fileHandedOver(const QString& path);

 private:
  void onNewConnection();
  void onReadyRead(QLocalSocket* socket);
  void deliverLater(QLocalSocket* socket, const QString& path);
  bool listen();

  QString directory_;
  QString key_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
};

}  // namespace orv
