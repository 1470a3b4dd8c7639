#include "mainwindow/DeviceEventHandler.h"

#include <QCoreApplication>

#include "app/VKRPrefData.h"
#include "controls/CustomButton.h"
#include "controls/WindowEvents.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/ParameterMap.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/VKREditorDlg.h"

namespace orv {

void DeviceEventHandler::Listener(void* context, int32_t code, int32_t value, int32_t) {
  PostWindowMessage(static_cast<QObject*>(static_cast<CVKREditorDlg*>(context)), WM_DEVICE_EVENT,
                    code, value);
}

void DeviceEventHandler::handle(int code, int value) {
  switch (code) {
    case EVENT_CONNECTED:
      connected(static_cast<char>(value));
      break;
    case EVENT_DISCONNECTED:
      disconnected();
      break;
    case EVENT_NOT_CONNECTED:
      notConnected();
      break;
    case EVENT_DUMP_RECEIVED:
      dumpReceived();
      break;
    case EVENT_PARAMETER_CHANGED:
      parameterChanged(value);
      break;
    case EVENT_SETTING_REPORTED:
      settingReported(value);
      break;
    default:
      break;
  }
}

void DeviceEventHandler::connected(char model) {
  if (CCustomButton* indicator = dlg_.controls().connectionIndicator()) {
    indicator->SetState(1);
    indicator->update();
  }
  dlg_.modelKnown_ = true;
  dlg_.modelCode_ = model;
  dlg_.sections_.modelCode = model;
  dlg_.skin().ApplyModelSkin(model);
}

void DeviceEventHandler::disconnected() {
  if (CCustomButton* indicator = dlg_.controls().connectionIndicator()) {
    indicator->SetState(0);
    indicator->update();
  }
  dlg_.portsOpen_ = false;
  dlg_.menu().setUsbVolumeEnabled(false);
}

void DeviceEventHandler::notConnected() {
  if (dlg_.portsOpen_) return;
  // Every tick until it works; failures are expected while the amplifier is away.
  try {
    chooseDefaultPortNames();
    openPortsByConfiguredNames();
  } catch (...) {
  }
}

void DeviceEventHandler::dumpReceived() {
  dlg_.PatchTouched();
  LibraryEntry record;
  record.data = DeviceLink::instance().mirror();
  dlg_.refresher().ShowRecord(record);
  emit dlg_.devicePatchShown();
}

void DeviceEventHandler::parameterChanged(int id) {
  dlg_.refresher().ShowParameter(id);
  if (id < params::kFirstId || id > params::kLastId) return;
  dlg_.PatchTouched();
  dlg_.pushNameToEdit();
}

void DeviceEventHandler::settingReported(int value) {
  if (value < 512 || value > 767) return;  // only the USB volume concerns the window
  dlg_.menu().checkUsbVolume(value & 0xFF);
  dlg_.menu().setUsbVolumeEnabled(true);
}

bool DeviceEventHandler::openPortsByConfiguredNames() {
  const CVKRPrefData& settings = CVKRPrefData::instance();
  if (settings.midiIn().empty() || settings.midiOut().empty()) return false;
  DeviceLink& link = DeviceLink::instance();
  const int in = link.port().findInput(settings.midiIn());
  const int out = link.port().findOutput(settings.midiOut());
  if (in < 0 || out < 0) return false;
  link.openPorts(in, out);
  dlg_.portsOpen_ = true;
  return true;
}

void DeviceEventHandler::chooseDefaultPortNames() {
  CVKRPrefData settings = CVKRPrefData::instance();
  if (!settings.midiIn().empty() || !settings.midiOut().empty()) return;
  MidiPort& port = DeviceLink::instance().port();
  for (const char* name : {"ORV10", "ORV5"}) {
    if (port.findInput(name) < 0 && port.findOutput(name) < 0) continue;
    settings.setMidiIn(name);
    settings.setMidiOut(name);
    CVKRPrefData::instance() = settings;
    return;
  }
}

}  // namespace orv
