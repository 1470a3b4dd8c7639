#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <thread>

#include "app/SingleInstance.h"
#include "app/VKREditorApp.h"
#include "mainwindow/MessageBoxes.h"

namespace orv {
namespace {

// Spins the event loop until `done` or the timeout.
template <class F>
bool waitFor(F done, int timeoutMs = 5000) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// Hands a file over from another thread, as a second process would, while this thread keeps
// serving the primary's event loop.
bool handOverFromAnotherThread(const QString& dir, const QString& key, const QString& path) {
  std::atomic<int> result{-1};
  std::thread second([&] {
    SingleInstance secondary(dir, key);
    if (secondary.acquire() != SingleInstance::Role::Secondary) {
      result = 0;
      return;
    }
    result = secondary.handOver(path) ? 1 : 0;
  });
  waitFor([&] { return result != -1; });
  second.join();
  return result == 1;
}

class CountingBoxes : public IMessageBoxes {
 public:
  QStringList texts;
  int ask(const Request& r) override {
    texts << r.text;
    return Ok;
  }
  int runModal(QDialog&) override { return 0; }
};

class SingleInstanceTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString key = QStringLiteral("orv-test");
};

TEST_F(SingleInstanceTest, SecondInstanceHandsItsFileToTheFirst) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  QObject::connect(&first, &SingleInstance::fileHandedOver,
                   [&](const QString& p) { received << p; });

  const QString unicode = QString::fromUtf8("/home/u/Bänke/ライブラリ 😀.ZBL");
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, unicode));
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "/second.ZBP"));
  waitFor([&] { return received.size() == 2; });
  EXPECT_EQ(received, (QStringList{unicode, "/second.ZBP"}));
}

TEST_F(SingleInstanceTest, AfterTheFirstEndsTheNextStartIsPrimary) {
  {
    SingleInstance first(dir.path(), key);
    ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  }
  SingleInstance next(dir.path(), key);
  EXPECT_EQ(next.acquire(), SingleInstance::Role::Primary);
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
  QObject::connect(&first, &SingleInstance::fileHandedOver,
                   [&](const QString& p) { received = p; });
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "after-crash.ZBL"));
  waitFor([&] { return !received.isEmpty(); });
  EXPECT_EQ(received, "after-crash.ZBL");
}

TEST_F(SingleInstanceTest, ForeignOrAbsurdMessagesAreDroppedAndServingGoesOn) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  QObject::connect(&first, &SingleInstance::fileHandedOver,
                   [&](const QString& p) { received << p; });

  auto sendRaw = [&](quint32 id, quint32 length, const QByteArray& body) {
    QLocalSocket s;
    s.connectToServer(first.serverName());
    ASSERT_TRUE(s.waitForConnected(1000));
    QByteArray m;
    QDataStream out(&m, QIODevice::WriteOnly);
    out << id << length;
    m += body;
    s.write(m);
    s.waitForBytesWritten(1000);
    waitFor([&] { return s.state() != QLocalSocket::ConnectedState; }, 300);
  };
  sendRaw(7, 3, "abc");                                  // wrong identifier
  sendRaw(1, SingleInstance::kMaxPathBytes + 1, "abc");  // absurd length
  sendRaw(1, 10, "abc");                                 // cut short, then closed
  EXPECT_TRUE(received.isEmpty());
  EXPECT_TRUE(handOverFromAnotherThread(dir.path(), key, "good.ZBL"));
  waitFor([&] { return !received.isEmpty(); });
  EXPECT_EQ(received, QStringList{"good.ZBL"});
}

TEST_F(SingleInstanceTest, HandOversAnsweredInANestedLoopLeaveTheServerWorking) {
  // The window answers a hand-over with a message box: a nested event loop that runs while the
  // second instance reads its acknowledgement and goes away.
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  int socketsLost = 0;
  QObject::connect(&first, &SingleInstance::fileHandedOver, [&](const QString& p) {
    received << p;
    QList<QPointer<QLocalSocket>> sockets;
    for (QLocalSocket* s : first.findChildren<QLocalSocket*>()) sockets << s;
    QEventLoop box;
    QTimer::singleShot(150, &box, &QEventLoop::quit);
    box.exec();
    // The connection stays until its hand-over has been dealt with.
    for (const auto& s : sockets) socketsLost += s.isNull() ? 1 : 0;
  });
  for (int i = 0; i < 20; ++i) {
    const QString path = QStringLiteral("/lib/%1.ZBL").arg(i);
    ASSERT_TRUE(handOverFromAnotherThread(dir.path(), key, path)) << i;
    ASSERT_TRUE(waitFor([&] { return received.size() == i + 1; })) << i;
  }
  EXPECT_EQ(received.last(), "/lib/19.ZBL");
  EXPECT_EQ(socketsLost, 0);
}

TEST_F(SingleInstanceTest, ALaterStartWithoutAFileSaysSoAndFails) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  SingleInstance second(dir.path(), key);
  ASSERT_EQ(second.acquire(), SingleInstance::Role::Secondary);
  CountingBoxes boxes;
  EXPECT_EQ(CVKREditorApp::handOverToRunningEditor(second, QString(), boxes), 1);
  EXPECT_EQ(boxes.texts, QStringList{"Has already started."});

  std::atomic<int> code{-1};
  CountingBoxes quiet;
  std::thread later(
      [&] { code = CVKREditorApp::handOverToRunningEditor(second, "/a.ZBL", quiet); });
  waitFor([&] { return code != -1; });
  later.join();
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(quiet.texts.isEmpty());
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
