#include "mainwindow/PreferencesCommand.h"

#include "controls/VKRDial.h"
#include "device/DeviceLink.h"
#include "device/SysexCodec.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKREditorDlg.h"
#include "mainwindow/VKRPreferenceWindow.h"
#include "settings/VKRPrefData.h"

namespace orv {

void PreferencesCommand::run() {
  CVKRPreferenceWindow window(&dlg_);
  window.OnInitDialog();
  if (dlg_.messageBoxes().runModal(window) != QDialog::Accepted) return;

  const int mode = CVKRPrefData::instance().dialType();
  for (CVKRDial* dial : dlg_.controls().dials()) dial->SetKnobMode(mode);
  dlg_.openConfiguredPorts();

  DeviceLink& link = DeviceLink::instance();
  if (window.extendedStereoReported())
    link.sendSetting(sysex::ExtendedStereo, static_cast<uint8_t>(window.extendedStereo()));
  if (window.powerLampReported())
    link.sendSetting(sysex::PowerLamp, static_cast<uint8_t>(window.powerLamp()));
}

}  // namespace orv
