#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace orv {

// One editor per user. The first instance holds a lock file (released by the system when the
// process dies, so a crash never blocks the next start) and listens on a local socket; a later
// instance finds the lock taken and hands its file to the first one over that socket.
//
// Both live only in a folder no other user can write, and both ends make sure that the other
// end belongs to the same user before anything is handed over. Without such a folder the editor
// runs without a single instance.
//
// Hand-over message: identifier (uint32, big-endian, always 1), path length in bytes (uint32),
// the path's bytes as the file system names them (an empty path: only come forward). The
// receiver answers one byte (1) once the running editor has taken the file, and closes the
// connection without an answer when it does not; a connection that does not deliver a message
// within a few seconds is dropped.
class SingleInstance : public QObject {
  Q_OBJECT
 public:
  enum class Role { Primary, Secondary };
  static constexpr quint32 kHandOverId = 1;
  static constexpr quint32 kMaxPathBytes = 64 * 1024;
  static constexpr int kIdleTimeoutMs = 5000;

  // Primary: takes a handed-over path; true once the file will be opened. Called from the
  // event loop, never from inside the connection's own signals.
  using Receiver = std::function<bool(const QString& path)>;

  // `directory` holds the lock file and the socket; `key` names them. The defaults are the
  // user's runtime folder (or a private folder in the user's cache) and a name carrying the
  // user id.
  explicit SingleInstance(QString directory = defaultDirectory(), QString key = defaultKey(),
                          QObject* parent = nullptr);
  ~SingleInstance() override;

  // Takes the lock and starts listening (Primary), or finds another instance (Secondary).
  // A lock that cannot be created at all (unwritable or shared folder) gives Primary without
  // hand-over.
  Role acquire();
  // Secondary: hands `path` to the running instance; true once it confirmed receipt.
  bool handOver(const QString& path, int timeoutMs = 3000);

  // Primary: who takes the hand-overs; without one every hand-over is refused.
  void setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }
  void setIdleTimeout(int ms) { idleTimeoutMs_ = ms; }

  QString serverName() const;
  // An empty result: no folder fit for the lock; the editor then runs alone.
  static QString defaultDirectory();
  static QString defaultKey();
  // A folder of this user's that no other user can write in (not a symbolic link).
  static bool isPrivateFolder(const QString& path);

 private:
  void onNewConnection();
  void onReadyRead(QLocalSocket* socket);
  void deliverLater(QLocalSocket* socket, const QString& path);
  bool listen();

  QString directory_;
  QString key_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  Receiver receiver_;
  int idleTimeoutMs_ = kIdleTimeoutMs;
};

}  // namespace orv
