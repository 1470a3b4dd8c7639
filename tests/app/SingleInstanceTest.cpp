#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "app/SingleInstance.h"
#include "app/VKREditorApp.h"
#include "mainwindow/MessageBoxes.h"
#include "support/AsUser.h"
#include "support/WaitFor.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::waitServingEvents;

// A second instance on another thread, as a second process would be, handing over `path`.
class SecondInstance {
 public:
  SecondInstance(const QString& dir, const QString& key, const QString& path)
      : thread_([this, dir, key, path] {
          SingleInstance secondary(dir, key);
          const bool second = secondary.acquire() == SingleInstance::Role::Secondary;
          result_ = second && secondary.handOver(path) ? 1 : 0;
        }) {}
  ~SecondInstance() { thread_.join(); }
  // True once it has handed over (or failed to) and gone away.
  bool finished() const { return result_ != -1; }
  bool handedOver() const { return result_ == 1; }

 private:
  std::atomic<int> result_{-1};
  std::thread thread_;
};

// Hands a file over from another thread while this thread keeps serving the primary's event
// loop; true once the primary confirmed receipt.
bool handOverFromAnotherThread(const QString& dir, const QString& key, const QString& path) {
  SecondInstance second(dir, key, path);
  if (!waitServingEvents([&] { return second.finished(); }, 10s)) {
    ADD_FAILURE() << "the second instance never finished its hand-over";
    return false;
  }
  return second.handedOver();
}

class CountingBoxes : public IMessageBoxes {
 public:
  QStringList texts;
  bool aboveAll = false;
  int ask(const Request& r) override {
    texts << r.text;
    aboveAll = r.aboveAll;
    return Ok;
  }
  int runModal(QDialog&) override { return 0; }
};

// A receiver that takes every file.
SingleInstance::Receiver receiveInto(QStringList& received) {
  return [&received](const QString& p) {
    received << p;
    return true;
  };
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString key = QStringLiteral("orv-test");
};

TEST_F(SingleInstanceTest, SecondInstanceHandsItsFileToTheFirst) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  first.setReceiver(receiveInto(received));

  const QString unicode = QString::fromUtf8("/home/u/Bänke/ライブラリ 😀.ZBL");
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, unicode));
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "/second.ZBP"));
  ASSERT_TRUE(waitServingEvents([&] { return received.size() == 2; }, 5s));
  EXPECT_EQ(received, (QStringList{unicode, "/second.ZBP"}));
}

TEST_F(SingleInstanceTest, AfterTheFirstEndsTheNextStartIsPrimary) {
  {
    SingleInstance first(dir.path(), key);
    ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  }
  SingleInstance next(dir.path(), key);
  EXPECT_EQ(next.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  next.setReceiver(receiveInto(received));
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "x.ZBL"));
}

TEST_F(SingleInstanceTest, StaleSocketLeftByACrashDoesNotBlock) {
  // A socket file bound by a process that died: nobody listens on it.
  SingleInstance probe(dir.path(), key);
  const QByteArray name = QFile::encodeName(probe.serverName());
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  ASSERT_LT(size_t(name.size()), sizeof(addr.sun_path));
  std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
  ::close(fd);
  ASSERT_TRUE(QFileInfo::exists(probe.serverName()));

  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QString received;
  first.setReceiver([&](const QString& p) { return !(received = p).isEmpty(); });
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "after-crash.ZBL"));
  ASSERT_TRUE(waitServingEvents([&] { return !received.isEmpty(); }, 5s));
  EXPECT_EQ(received, "after-crash.ZBL");
}

TEST_F(SingleInstanceTest, ForeignOrAbsurdMessagesAreDroppedAndServingGoesOn) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  first.setReceiver(receiveInto(received));

  // Sends a raw message; `dropped`: the primary must close the connection.
  auto sendRaw = [&](quint32 id, quint32 length, const QByteArray& body, bool dropped) {
    QLocalSocket s;
    s.connectToServer(first.serverName());
    ASSERT_TRUE(s.waitForConnected(1000));
    QByteArray m;
    QDataStream out(&m, QIODevice::WriteOnly);
    out << id << length;
    m += body;
    s.write(m);
    ASSERT_TRUE(s.waitForBytesWritten(1000));
    if (dropped)
      ASSERT_TRUE(waitServingEvents([&] { return s.state() != QLocalSocket::ConnectedState; }, 5s))
          << "the primary kept a connection it should have dropped";
  };
  sendRaw(7, 3, "abc", true);                                  // wrong identifier
  sendRaw(1, SingleInstance::kMaxPathBytes + 1, "abc", true);  // absurd length
  sendRaw(1, 10, "abc", false);                                // cut short, then closed
  EXPECT_TRUE(received.isEmpty());
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "good.ZBL"));
  ASSERT_TRUE(waitServingEvents([&] { return !received.isEmpty(); }, 5s));
  EXPECT_EQ(received, QStringList{"good.ZBL"});
}

TEST_F(SingleInstanceTest, HandOversAnsweredInANestedLoopLeaveTheServerWorking) {
  // The window answers a hand-over with a message box: a nested event loop that runs while the
  // second instance waits for its acknowledgement, which goes out once the box is answered.
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  std::unique_ptr<SecondInstance> second;
  int socketsLost = 0, answeredEarly = 0;
  first.setReceiver([&](const QString& p) {
    received << p;
    QList<QPointer<QLocalSocket>> sockets;
    for (QLocalSocket* s : first.findChildren<QLocalSocket*>()) sockets << s;
    QEventLoop box;
    QTimer::singleShot(150, &box, &QEventLoop::quit);
    box.exec();
    // Nothing was acknowledged while the box was up, and the connection is still there.
    answeredEarly += second->finished() ? 1 : 0;
    for (const auto& s : sockets) socketsLost += s.isNull() ? 1 : 0;
    return true;
  });
  for (int i = 0; i < 20; ++i) {
    const QString path = QStringLiteral("/lib/%1.ZBL").arg(i);
    second = std::make_unique<SecondInstance>(dir.path(), key, path);
    ASSERT_TRUE(waitServingEvents([&] { return second->finished(); }, 15s)) << i;
    ASSERT_TRUE(second->handedOver()) << i;
    ASSERT_EQ(received.size(), i + 1);
  }
  EXPECT_EQ(received.last(), "/lib/19.ZBL");
  EXPECT_EQ(answeredEarly, 0);
  EXPECT_EQ(socketsLost, 0);
}

TEST_F(SingleInstanceTest, ALaterStartWithoutAFileBringsTheEditorForwardAndSaysSo) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  first.setReceiver(receiveInto(received));
  SingleInstance second(dir.path(), key);
  ASSERT_EQ(second.acquire(), SingleInstance::Role::Secondary);
  auto startSecond = [&](const QString& file, CountingBoxes& boxes) {
    std::atomic<int> code{-1};
    std::thread later([&] { code = CVKREditorApp::handOverToRunningEditor(second, file, boxes); });
    const bool ended = waitServingEvents([&] { return code != -1; }, 10s);
    later.join();
    if (!ended) ADD_FAILURE() << "the hand-over never ended";
    return int(code);
  };
  CountingBoxes boxes;
  EXPECT_EQ(startSecond(QString(), boxes), 1);
  EXPECT_EQ(boxes.texts, QStringList{"Has already started."});
  EXPECT_TRUE(boxes.aboveAll) << "not hidden behind the running editor";
  EXPECT_EQ(received, QStringList{QString()}) << "the running editor was asked to come forward";

  CountingBoxes quiet;
  EXPECT_EQ(startSecond("/a.ZBL", quiet), 0);
  EXPECT_TRUE(quiet.texts.isEmpty());

  // The running editor does not take the file (it is closing): the later start says so.
  first.setReceiver([](const QString&) { return false; });
  CountingBoxes refused;
  EXPECT_EQ(startSecond("/b.ZBL", refused), 1);
  EXPECT_EQ(refused.texts, QStringList{"Has already started."});
}

TEST_F(SingleInstanceTest, NeitherLockNorSocketLivesWhereOtherUsersCanWrite) {
  // A folder anyone may write in, as the shared temporary folder: not used at all.
  const QString shared = dir.filePath("shared");
  ASSERT_TRUE(QDir().mkpath(shared));
  ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
  SingleInstance inShared(shared, key);
  EXPECT_EQ(inShared.acquire(), SingleInstance::Role::Primary);
  EXPECT_TRUE(
      QDir(shared).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot));

  // No runtime folder, and the fallback Qt would take in the temporary folder was planted by
  // someone else: a private folder in the user's cache takes their place.
  if (!test::runningAsSuperuser()) return;  // planting needs a second user
  const QString tmp = dir.filePath("tmp");
  ASSERT_TRUE(QDir().mkpath(tmp));
  ASSERT_EQ(::chmod(QFile::encodeName(tmp).constData(), 01777), 0);
  const QString planted =
      tmp + "/runtime-" + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
  ASSERT_TRUE(QDir().mkpath(planted));
  test::giveToTestUser(QFile::encodeName(planted).toStdString());
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), tmpdir = qgetenv("TMPDIR"),
                   cache = qgetenv("XDG_CACHE_HOME");
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", QFile::encodeName(tmp));
  qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
  const QString chosen = SingleInstance::defaultDirectory();
  for (const auto& [name, value] :
       {std::pair{"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", tmpdir}, {"XDG_CACHE_HOME", cache}})
    value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
  EXPECT_EQ(chosen, dir.filePath("cache/orv-editor"));
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(chosen).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(SingleInstanceTest, NothingIsHandedToAListenerOfAnotherUser) {
  if (!test::runningAsSuperuser()) GTEST_SKIP() << "a listener of another user needs two users";
  // Another user listens where this user's editor would be found (a folder of theirs).
  const QString theirs = dir.filePath("theirs");
  ASSERT_TRUE(QDir().mkpath(theirs));
  test::giveToTestUser(QFile::encodeName(theirs).toStdString());
  ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
  SingleInstance user(theirs, key);
  const QByteArray socketName = QFile::encodeName(user.serverName());
  const pid_t listener = fork();
  if (listener == 0) {
    // Only system calls in the child: it counts the bytes it is sent, as its exit status.
    if (setgroups(0, nullptr) != 0 || setgid(test::kNobody) != 0 || setuid(test::kNobody) != 0)
      _exit(255);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, socketName.constData(), size_t(socketName.size()));
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 1) != 0)
      _exit(254);
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, 5000) != 1) _exit(253);
    const int peer = ::accept(fd, nullptr, nullptr);
    int total = 0;
    char buffer[256];
    for (ssize_t n; (n = ::read(peer, buffer, sizeof buffer)) > 0;) total += int(n);
    _exit(std::min(total, 250));
  }
  ASSERT_GT(listener, 0);
  EXPECT_FALSE(user.handOver("/home/user/secret.ZBL", 1500));
  int status = 0;
  ASSERT_EQ(::waitpid(listener, &status, 0), listener);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "bytes the other user's listener received";
}

TEST_F(SingleInstanceTest, AConnectionThatSendsNothingIsDropped) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  first.setIdleTimeout(200);
  QLocalSocket idle;
  idle.connectToServer(first.serverName());
  ASSERT_TRUE(idle.waitForConnected(1000));
  EXPECT_TRUE(waitServingEvents([&] { return idle.state() == QLocalSocket::UnconnectedState; }, 3s))
      << "the idle connection is still open";
}

TEST_F(SingleInstanceTest, HandOverWithoutAListenerGivesUp) {
  SingleInstance lonely(dir.path(), key);
  QElapsedTimer t;
  t.start();
  EXPECT_FALSE(lonely.handOver("x.ZBL", 300));
  EXPECT_LT(t.elapsed(), 3000);
}

}  // namespace
}  // namespace orv
