#include "mainwindow/DeviceEventHandler.h"

#include <QCoreApplication>

#include "controls/CustomButton.h"
#include "controls/WindowEvents.h"
#include "device/DeviceLink.h"
#include "device/DeviceWatcher.h"
#include "device/MidiPort.h"
#include "device/ParameterMap.h"
#include "device/PortReconnector.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/UndoCommands.h"
#include "mainwindow/VKREditorDlg.h"
#include "settings/VKRPrefData.h"

namespace orv {

const QEvent::Type DeviceEventHandler::kDeviceListChanged =
    static_cast<QEvent::Type>(QEvent::registerEventType());

DeviceEventHandler::DeviceEventHandler(CVKREditorDlg& dlg, DeviceLink& link)
    : dlg_(dlg), link_(link), reconnector_(std::make_unique<PortReconnector>(link)) {
  MidiBackend* backend = &link.port().backend();
  QObject* window = &dlg;
  watcher_ = std::make_unique<DeviceWatcher>(
      [backend] {
        // The service's full port names tell a device plugged in again from one that stayed.
        if (auto* rt = dynamic_cast<RtMidiBackend*>(backend)) return rt->deviceSnapshot();
        std::vector<std::string> names = backend->inputDevices();
        names.push_back({});  // inputs before, outputs after
        for (std::string& name : backend->outputDevices()) names.push_back(std::move(name));
        return names;
      },
      [window] { QCoreApplication::postEvent(window, new QEvent(kDeviceListChanged)); });
}

DeviceEventHandler::~DeviceEventHandler() {
  stopWatching();
}

void DeviceEventHandler::stopWatching() {
  watcher_.reset();
}

bool DeviceEventHandler::portsOpen() const {
  return reconnector_->portsOpen();
}

void DeviceEventHandler::deviceListChanged() {
  link_.checkPorts();
}

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
  // USB Volume, Extended Stereo and Power Lamp are live from the first connection on.
  link_.requestSettings();
  if (link_.unsent()) offerUnsentSound();
}

// The panel holds a sound the amplifier never received; the link has not asked for the
// amplifier's patch yet. Nothing is dropped without this question.
void DeviceEventHandler::offerUnsentSound() {
  if (askingAboutSound_) return;  // an amplifier coming and going while the question is up
  askingAboutSound_ = true;
  IMessageBoxes::Request request =
      dlg_.question(texts::kAskSendOnReconnect, IMessageBoxes::Icon::Exclamation,
                    IMessageBoxes::Yes | IMessageBoxes::No);
  request.yesLabel = QStringLiteral("Send");
  request.noLabel = QStringLiteral("Keep Amplifier's");
  const int answer = dlg_.messageBoxes().ask(request);
  askingAboutSound_ = false;
  // Gone again meanwhile: the question comes back with the amplifier.
  if (!link_.isConnected()) return;
  if (answer == IMessageBoxes::Yes)
    link_.sendWholePatch();
  else
    link_.takeAmplifierPatch();
}

void DeviceEventHandler::disconnected() {
  dlg_.compare().disconnected();
  if (CCustomButton* indicator = dlg_.controls().connectionIndicator()) {
    indicator->SetState(0);
    indicator->update();
  }
  reconnector_->onDeviceEvent(EVENT_DISCONNECTED);
  dlg_.menu().setUsbVolumeEnabled(false);
}

void DeviceEventHandler::notConnected() {
  // Nothing opens before the window's set-up opens the ports itself.
  if (!dlg_.setUpDone_ || reconnector_->portsOpen()) return;
  // Every tick until it works; failures are expected while the amplifier is away. An amplifier
  // plugged in after the start is found by its default name as well.
  chooseDefaultPortNames();
  takePortNames();
  reconnector_->onDeviceEvent(EVENT_NOT_CONNECTED);
}

void DeviceEventHandler::dumpReceived() {
  dlg_.compare().soundReplaced();
  dlg_.PatchTouched();
  LibraryEntry record;
  record.data = link_.mirror();
  dlg_.refresher().ShowRecord(record);
  dlg_.undoCommands().capture();
  emit dlg_.devicePatchShown();
}

void DeviceEventHandler::parameterChanged(int id) {
  if (!dlg_.compare().amplifierChanged()) return;
  dlg_.refresher().ShowParameter(id);
  if (id < params::kFirstId || id > params::kLastId) return;
  dlg_.PatchTouched();
  dlg_.pushNameToEdit();
  // Turns of one knob on the amplifier join as a drag of it on the panel does.
  dlg_.undoCommands().capture(-id);
}

void DeviceEventHandler::settingReported(int value) {
  if (value < 512 || value > 767) return;  // only the USB volume concerns the window
  dlg_.menu().checkUsbVolume(value & 0xFF);
  dlg_.menu().setUsbVolumeEnabled(true);
}

void DeviceEventHandler::takePortNames() {
  const CVKRPrefData& settings = CVKRPrefData::instance();
  reconnector_->setPortNames(settings.midiIn(), settings.midiOut());
}

bool DeviceEventHandler::openPortsByConfiguredNames() {
  takePortNames();
  return reconnector_->openConfigured();
}

void DeviceEventHandler::chooseDefaultPortNames() {
  CVKRPrefData settings = CVKRPrefData::instance();
  if (!settings.midiIn().empty() || !settings.midiOut().empty()) return;
  MidiPort& port = link_.port();
  for (const char* name : {"ORV10", "ORV5"}) {
    if (port.findInput(name) < 0 && port.findOutput(name) < 0) continue;
    settings.setMidiIn(name);
    settings.setMidiOut(name);
    CVKRPrefData::instance() = settings;
    return;
  }
}

}  // namespace orv
