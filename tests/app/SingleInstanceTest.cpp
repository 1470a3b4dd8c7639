#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "app/SingleInstance.h"
#include "app/VKREditorApp.h"
#include "mainwindow/MessageBoxes.h"
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
  ASSERT_TRUE(waitServingEvents([&] { return !received.isEmpty(); }, 5s));
  EXPECT_EQ(received, "after-crash.ZBL");
}

TEST_F(SingleInstanceTest, ForeignOrAbsurdMessagesAreDroppedAndServingGoesOn) {
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  QObject::connect(&first, &SingleInstance::fileHandedOver,
                   [&](const QString& p) { received << p; });

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
  // second instance reads its acknowledgement and goes away.
  SingleInstance first(dir.path(), key);
  ASSERT_EQ(first.acquire(), SingleInstance::Role::Primary);
  QStringList received;
  std::unique_ptr<SecondInstance> second;
  int socketsLost = 0, boxesTimedOut = 0;
  QObject::connect(&first, &SingleInstance::fileHandedOver, [&](const QString& p) {
    received << p;
    QList<QPointer<QLocalSocket>> sockets;
    for (QLocalSocket* s : first.findChildren<QLocalSocket*>()) sockets << s;
    // The box stays up until the second instance has finished and its connection is seen
    // closed here, so that the closing happens inside the nested loop.
    auto secondGone = [&] {
      if (!second->finished()) return false;
      for (const auto& s : sockets)
        if (s && s->state() != QLocalSocket::UnconnectedState) return false;
      return true;
    };
    QEventLoop box;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
      if (secondGone()) box.quit();
    });
    poll.start(5);
    QTimer::singleShot(10000, &box, [&] {
      ++boxesTimedOut;
      box.quit();
    });
    box.exec();
    // The connection stays until its hand-over has been dealt with.
    for (const auto& s : sockets) socketsLost += s.isNull() ? 1 : 0;
  });
  for (int i = 0; i < 20; ++i) {
    const QString path = QStringLiteral("/lib/%1.ZBL").arg(i);
    second = std::make_unique<SecondInstance>(dir.path(), key, path);
    ASSERT_TRUE(waitServingEvents([&] { return received.size() == i + 1; }, 15s)) << i;
    ASSERT_TRUE(second->handedOver()) << i;
    ASSERT_EQ(boxesTimedOut, 0) << "the second instance did not go away while the box was up";
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
  const bool ended = waitServingEvents([&] { return code != -1; }, 10s);
  later.join();
  ASSERT_TRUE(ended) << "the hand-over never ended";
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
