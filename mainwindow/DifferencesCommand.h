#pragma once

namespace orv {

class CVKREditorDlg;

// Edit > Show Differences...: compares the edited sound with the current slot's stored patch or,
// with no current slot, with the sound as last loaded or stored, and shows the result. Changes
// nothing.
class DifferencesCommand {
 public:
  explicit DifferencesCommand(CVKREditorDlg& dlg) : dlg_(dlg) {}
  void run();

 private:
  CVKREditorDlg& dlg_;
};

}  // namespace orv
