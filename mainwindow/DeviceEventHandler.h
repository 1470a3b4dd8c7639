#pragma once
#include <QEvent>
#include <cstdint>
#include <memory>

namespace orv {

class CVKREditorDlg;
class DeviceLink;
class DeviceWatcher;
class PortReconnector;

// The main window's side of the device link: the listener that carries every device event to
// the window's thread, the handling of the events there, and the opening of the MIDI ports by
// the configured names.
//
//   1 connected (model code)  indicator lit, model known, model skin, settings asked for; a
//                             sound the amplifier never received is offered to it
//   2 disconnected            indicator dark, ports closed, USB Volume menu grayed; comparing
//                             ends with the edited sound back in the mirror (unsent)
//   3 not connected           the ports are opened again by their names while they are closed
//   4 dump received           patch-touched step, the panel shows the amplifier's patch (which
//                             also ends comparing)
//   5 parameter changed (id)  that one control follows, patch-touched step; while comparing the
//                             change goes into the edited sound, which the amplifier then gets
//   6 setting reported        USB volume (setting 2): check mark, menu enabled
// Devices coming and going are noticed by a watcher comparing the MIDI device lists about once a
// second; the window then has the link check its ports.
class DeviceEventHandler {
 public:
  // Posted to the window when the MIDI device lists changed.
  static const QEvent::Type kDeviceListChanged;

  DeviceEventHandler(CVKREditorDlg& dlg, DeviceLink& link);
  ~DeviceEventHandler();

  // Registered with the device link, context = the window. Runs on the link's tick thread (or,
  // for a port check, on the window's thread) and only posts; never blocks.
  static void Listener(void* context, int32_t code, int32_t value, int32_t reserved);

  void handle(int code, int value);
  // The device lists changed: the link checks that its ports still exist.
  void deviceListChanged();
  // Stops watching the device lists (before the link goes).
  void stopWatching();
  bool portsOpen() const;

  // Finds the configured input and output names among the devices and opens both; nothing is
  // opened or closed when either is missing. Throws CGenericException 200 / 201 when opening
  // fails. True when the ports were opened.
  bool openPortsByConfiguredNames();
  // When no port names are configured: the first of "ORV10" and "ORV5" that exists as an input
  // or an output becomes both names (in the settings record, not yet in the file).
  void chooseDefaultPortNames();

 private:
  void connected(char model);
  // Asks whether the amplifier that connected gets the panel's unsent sound or keeps its own.
  void offerUnsentSound();
  void disconnected();
  void notConnected();
  void dumpReceived();
  void parameterChanged(int id);
  void settingReported(int value);
  // The configured names handed to the reconnector.
  void takePortNames();

  CVKREditorDlg& dlg_;
  DeviceLink& link_;
  std::unique_ptr<PortReconnector> reconnector_;
  std::unique_ptr<DeviceWatcher> watcher_;
  bool askingAboutSound_ = false;
};

}  // namespace orv
