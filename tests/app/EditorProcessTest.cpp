// The orv-editor executable as a user starts it: options, the screenshot mode, and the single
// instance across processes.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "mainwindow/LocalFileName.h"
#include "support/WaitFor.h"

namespace orv {
namespace {

QString editorPath() {
  return QDir(QCoreApplication::applicationDirPath()).filePath("../app/orv-editor");
}

template <class F>
bool waitFor(F done) {
  return test::waitServingEvents(done, std::chrono::seconds(10));
}

// A user's environment in a temporary folder: configuration and runtime folders of its own.
// The running editor, played by this process: it takes the files handed over to it.
struct RunningEditor {
  explicit RunningEditor(const QString& runtimeDir)
      : instance(runtimeDir, SingleInstance::defaultKey()) {}
  bool listen() {
    if (instance.acquire() != SingleInstance::Role::Primary) return false;
    instance.setReceiver([this](const QString& p) {
      received << p;
      return true;
    });
    return true;
  }
  SingleInstance instance;
  QStringList received;
};

class EditorProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo(editorPath()).isExecutable()) << editorPath().toStdString();
    // Under ThreadSanitizer the editor gets the suppressions of this suite (races inside Qt's
    // libraries); without it the setting does nothing.
    QFile suppressions(QDir(home.path()).filePath("tsan.supp"));
    ASSERT_TRUE(suppressions.open(QIODevice::WriteOnly));
    suppressions.write("race:libQt6Core.so\nrace:libQt6Gui.so\nrace:libQt6Widgets.so\n");
    QDir(home.path()).mkpath("config");
    QDir(home.path()).mkpath("runtime");
    QFile::setPermissions(runtimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }

  QString runtimeDir() const { return QDir(home.path()).filePath("runtime"); }
  QString settingsPath() const {
    return QDir(home.path()).filePath("config/TAVOLIN/ORV Editor/config/ORV Editor.ini");
  }
  void writeSettings(const QByteArray& text) {
    QDir().mkpath(QFileInfo(settingsPath()).path());
    QFile f(settingsPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
  }

  std::unique_ptr<QProcess> start(const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QDir(home.path()).filePath("config"));
    env.insert("XDG_RUNTIME_DIR", runtimeDir());
    env.insert("QT_QPA_PLATFORM", platform);
    env.insert("TSAN_OPTIONS", "suppressions=" + QDir(home.path()).filePath("tsan.supp"));
    for (auto it = extraEnvironment.begin(); it != extraEnvironment.end(); ++it)
      env.insert(it.key(), it.value());
    if (platform != "offscreen") {
      env.remove("DISPLAY");
      env.remove("WAYLAND_DISPLAY");
    }
    p->setProcessEnvironment(env);
    if (!workingDirectory.isEmpty()) p->setWorkingDirectory(workingDirectory);
    p->start(program.isEmpty() ? editorPath() : program, args);
    EXPECT_TRUE(p->waitForStarted(5000));
    return p;
  }

  // Runs to the end; returns the exit code (-1 when it did not end in time).
  int run(const QStringList& args, QByteArray* out = nullptr, QByteArray* err = nullptr,
          int timeoutMs = 30000) {
    auto p = start(args);
    if (!p->waitForFinished(timeoutMs)) {
      p->kill();
      p->waitForFinished();
      return -1;
    }
    if (out) *out = p->readAllStandardOutput();
    if (err) *err = p->readAllStandardError();
    return p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
  }

  QString socketPath() const {
    return SingleInstance(runtimeDir(), SingleInstance::defaultKey()).serverName();
  }

  QTemporaryDir home;
  QString platform = "offscreen";
  QString workingDirectory;
  QMap<QString, QString> extraEnvironment;
  QString program;  // empty: the editor itself
};

TEST_F(EditorProcessTest, OptionsAnswerWithoutADisplayAndBadOnesAreRefused) {
  platform = "xcb";  // a desktop session that is not there: nothing here may need it
  QByteArray out, err;
  EXPECT_EQ(run({"--version"}, &out), 0);
  EXPECT_EQ(out.trimmed(), "ORV Editor 1.1.0");
  EXPECT_EQ(run({"--help"}, &out), 0);
  EXPECT_TRUE(out.contains("--simulate")) << out.toStdString();
  EXPECT_EQ(run({"--simulate=9"}, &out, &err), 2);
  EXPECT_TRUE(err.contains("--simulate")) << err.toStdString();
  EXPECT_EQ(run({"--midi-api", "oss"}, &out, &err), 2);
  EXPECT_EQ(run({"first.ZBL", "second.ZBL"}, &out, &err), 2);
  EXPECT_TRUE(err.contains("'second.ZBL'")) << err.toStdString();
  std::string why;
  const bool alsa = RtMidiBackend::serviceAvailable(RtMidiBackend::Api::Alsa, why);
  EXPECT_EQ(run({"--list-ports", "--midi-api", "alsa"}, &out, &err), alsa ? 0 : 1)
      << err.toStdString();
  for (const QByteArray& line : out.split('\n'))
    EXPECT_TRUE(line.isEmpty() || line.startsWith("in ") || line.startsWith("out ")) << line.data();
  // No MIDI service at all: said so, and a failure.
  extraEnvironment["JACK_DEFAULT_SERVER"] = "orv-no-such-server";
  EXPECT_EQ(run({"--list-ports", "--midi-api", "jack"}, &out, &err), 1);
  EXPECT_TRUE(out.isEmpty());
  EXPECT_TRUE(err.contains("JACK")) << err.toStdString();
  EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(EditorProcessTest, ScreenshotShowsTheSimulatorsPatchAndLeavesTheSettingsAlone) {
  const QByteArray settings = "[MIDI]\nIn=Other\nOut=Other\n[Library]\nSaved=1\n";
  writeSettings(settings);
  const QString png = QDir(home.path()).filePath("panel.png");
  QByteArray err;
  ASSERT_EQ(run({"--simulate=2", "--screenshot", png}, nullptr, &err), 0) << err.toStdString();

  QImage image(png);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 800);
  EXPECT_GT(image.height(), 600) << "the menu bar above the 800 x 600 panel";
  QFile f(settingsPath());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), settings);
}

TEST_F(EditorProcessTest, ASecondStartHandsItsFileToTheRunningEditorAndEnds) {
  RunningEditor running(runtimeDir());
  ASSERT_TRUE(running.listen());
  const QStringList& received = running.received;

  const QString file = QDir(home.path()).filePath(QString::fromUtf8("Bänke ライブラリ.ZBL"));
  auto second = start({file});
  ASSERT_TRUE(waitFor([&] { return second->state() == QProcess::NotRunning; }));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(received, QStringList{file});
}

TEST_F(EditorProcessTest, AFileNameThatIsNotUtf8KeepsItsBytes) {
  RunningEditor running(runtimeDir());
  ASSERT_TRUE(running.listen());
  const QStringList& received = running.received;
  // A Latin-1 name, as an old archive unpacks it: no valid UTF-8. Only a shell passes such bytes.
  program = "/bin/sh";
  auto second = start({"-c", "exec \"$0\" \"$(printf '/lib/Caf\\351 \\377.ZBL')\"", editorPath()});
  ASSERT_TRUE(waitFor([&] { return second->state() == QProcess::NotRunning; }));
  EXPECT_EQ(second->exitCode(), 0) << second->readAllStandardError().toStdString();
  ASSERT_EQ(received.size(), 1);
  EXPECT_EQ(LocalFileName::encode(received[0]), QByteArray("/lib/Caf\xe9 \xff.ZBL"));
}

TEST_F(EditorProcessTest, ARelativePathIsHandedOverAsAnAbsoluteOne) {
  RunningEditor running(runtimeDir());
  ASSERT_TRUE(running.listen());
  const QStringList& received = running.received;

  QDir(home.path()).mkpath("work");
  workingDirectory = QDir(home.path()).filePath("work");
  auto second = start({"../Rel.ZBL"});
  ASSERT_TRUE(waitFor([&] { return second->state() == QProcess::NotRunning; }));
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(received, QStringList{QDir(home.path()).filePath("Rel.ZBL")});
}

TEST_F(EditorProcessTest, AnEditorKilledWithoutCleaningUpDoesNotBlockTheNextStart) {
  writeSettings("[Library]\nSaved=1\n");
  auto first = start({"--simulate"});
  ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(socketPath()); }));
  ::kill(pid_t(first->processId()), SIGKILL);
  first->waitForFinished();
  EXPECT_TRUE(QFileInfo::exists(socketPath())) << "the crash left its socket behind";

  auto next = start({"--simulate"});
  SingleInstance probe(runtimeDir(), SingleInstance::defaultKey());
  bool handedOver = false;
  ASSERT_TRUE(waitFor([&] {
    if (next->state() == QProcess::NotRunning) return true;
    return handedOver = probe.handOver(QDir(home.path()).filePath("x.txt"), 500);
  }));
  EXPECT_TRUE(handedOver) << "the new editor serves hand-overs";
  EXPECT_EQ(next->state(), QProcess::Running);
  next->kill();
  next->waitForFinished();
}

}  // namespace
}  // namespace orv
