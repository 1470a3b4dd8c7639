#pragma once
// A main window on the offscreen platform, talking to the amplifier simulator over an in-process
// MIDI service. The device link's clock and ticks are driven by hand, so connection and time-outs
// happen exactly when a test says so.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>

#include "device/DeviceLink.h"
#include "device/VirtualMidiBackend.h"
#include "device/VirtualMidiService.h"
#include "mainwindow/ScriptedMessageBoxes.h"
#include "mainwindow/VKREditorDlg.h"
#include "settings/VKRPrefData.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"
#include "support/ShowActive.h"

namespace orv::test {

class MainWindowHarness {
 public:
  MainWindowHarness() {
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    CVKRPrefData::instance() = CVKRPrefData();
    CVKRPrefData::instance().read();
    DeviceLink::destroy();
    std::shared_ptr<VirtualMidiService> s = service;
    DeviceLink::setBackendFactory([s, this] {
      ++backendsMade;
      return std::make_unique<VirtualMidiBackend>(s);
    });
  }

  ~MainWindowHarness() {
    dlg.reset();
    DeviceLink::destroy();
    sim.reset();
    DeviceLink::setBackendFactory({});
  }

  // The amplifier appears on the service (before or after the window opens).
  AmpSimulator& startSimulator(char model = '1', std::string name = "ORV10") {
    AmpSimulator::Options o;
    o.name = std::move(name);
    o.model = model;
    o.identityPeriod = std::chrono::milliseconds(20);
    sim = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service), o);
    sim->start();
    return *sim;
  }

  CVKREditorDlg& open() {
    // The link runs on the test's clock from its first moment, so that no Identity is ever
    // stamped with the real clock.
    DeviceLink::instance().setClockForTesting(
        [this] { return DeviceLink::Clock::time_point(std::chrono::milliseconds(nowMs.load())); });
    dlg = std::make_unique<CVKREditorDlg>(boxes);
    dlg->setCommandLineFile(commandLineFile);
    dlg->OnInitDialog();
    return *dlg;
  }

  // One tick of the link with everything the MIDI service and the window have pending.
  void tick() {
    service->flush();
    DeviceLink::instance().tick();
    QCoreApplication::processEvents();
  }

  template <class Condition>
  bool tickUntil(Condition done, int maxTicks = 200) {
    for (int i = 0; i < maxTicks; ++i) {
      if (done()) return true;
      tick();
      if (done()) return true;
      QThread::msleep(2);  // let the simulator's own thread announce itself
    }
    return done();
  }

  // Opens the window with the simulator running and waits until its patch is on the panel; a
  // patch that never arrives fails the test.
  CVKREditorDlg& openConnected(char model = '1') {
    startSimulator(model);
    open();
    bool shown = false;
    const auto c =
        QObject::connect(dlg.get(), &CVKREditorDlg::devicePatchShown, [&] { shown = true; });
    if (!tickUntil([&] { return shown; }))
      ADD_FAILURE() << "the amplifier's patch never reached the panel";
    QObject::disconnect(c);
    service->flush();  // what the connection sent (the Settings Request) has arrived
    return *dlg;
  }

  // Opens the window (connected or not), shows it as the active window and empties the
  // clipboard, for tests that type, click or paste.
  CVKREditorDlg& openShown(bool connected = false) {
    CVKREditorDlg& window = connected ? openConnected() : open();
    if (!showActive(window)) ADD_FAILURE() << "the main window never became active";
    QGuiApplication::clipboard()->clear();
    return window;
  }

  void advanceSeconds(int seconds) { nowMs += int64_t(seconds) * 1000; }

  QTemporaryDir config;
  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  std::unique_ptr<AmpSimulator> sim;
  ScriptedMessageBoxes boxes;
  std::unique_ptr<CVKREditorDlg> dlg;
  QString commandLineFile;  // handed to the window as its command line's file
  std::atomic<int64_t> nowMs{1'000'000};
  std::atomic<int> backendsMade{0};  // one per device link made
};

}  // namespace orv::test
