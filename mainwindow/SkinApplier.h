#pragma once

namespace orv {

class CVKREditorDlg;

// Dresses the panel for the connected amplifier's model character ('0' before any): the
// amplifier-type range and knob travel, the type names, the connection indicator and the
// background. Run at the end of the layout and on every identification.
class SkinApplier {
 public:
  explicit SkinApplier(CVKREditorDlg& dlg) : dlg_(dlg) {}

  void ApplyModelSkin(char model);

 private:
  CVKREditorDlg& dlg_;
};

}  // namespace orv
