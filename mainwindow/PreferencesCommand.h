#pragma once

namespace orv {

class CVKREditorDlg;

// Edit > Preferences...: runs the dialog and, on OK, gives every dial the chosen knob mode,
// opens the ports by the stored names (when both exist) and sends the amplifier's reported
// extended stereo and power lamp back (only while connected, even when unchanged).
class PreferencesCommand {
 public:
  explicit PreferencesCommand(CVKREditorDlg& dlg) : dlg_(dlg) {}
  void run();

 private:
  CVKREditorDlg& dlg_;
};

}  // namespace orv
