#pragma once
// The editor's main window for the benchmarks: offscreen, settings in a temporary folder, message
// boxes answered at once, and (when asked) the amplifier simulator on an in-process MIDI service.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "app/UnattendedMessageBoxes.h"
#include "device/DeviceLink.h"
#include "device/VirtualMidiBackend.h"
#include "device/VirtualMidiService.h"
#include "mainwindow/VKREditorDlg.h"
#include "settings/VKRPrefData.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"

namespace orv::bench {

class Editor {
 public:
  // `backend` wraps the virtual service's backend when given (to watch what reaches it).
  explicit Editor(MidiBackendFactory backend = {}) {
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    CVKRPrefData& settings = CVKRPrefData::instance();
    settings = CVKRPrefData();
    settings.read();
    settings.setSaved(1);
    std::shared_ptr<VirtualMidiService> s = service;
    DeviceLink::setBackendFactory(backend ? std::move(backend) : MidiBackendFactory([s] {
      return std::make_unique<VirtualMidiBackend>(s);
    }));
  }
  ~Editor() {
    dlg.reset();
    DeviceLink::destroy();
    sim.reset();
  }

  void startSimulator() {
    sim = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service));
    sim->start();
  }

  // `beforeInit` runs between making the window and setting it up, where the editor's start-up
  // waits for its fonts.
  CVKREditorDlg& open(const std::function<void()>& beforeInit = {}) {
    dlg = std::make_unique<CVKREditorDlg>(boxes);
    if (beforeInit) beforeInit();
    dlg->OnInitDialog();
    dlg->show();
    return *dlg;
  }

  // Runs the event loop until the amplifier's patch is on the panel; false after 10 s.
  bool waitForPatch() {
    bool shown = false;
    const auto c =
        QObject::connect(dlg.get(), &CVKREditorDlg::devicePatchShown, [&] { shown = true; });
    QElapsedTimer t;
    t.start();
    while (!shown && t.elapsed() < 10000) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(1);
    }
    QObject::disconnect(c);
    return shown;
  }

  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  std::unique_ptr<AmpSimulator> sim;
  UnattendedMessageBoxes boxes;
  std::unique_ptr<CVKREditorDlg> dlg;

 private:
  QTemporaryDir config_;
};

// Peak resident memory of this process so far, in megabytes (0 when unknown).
inline double peakMemoryMB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

}  // namespace orv::bench
