#pragma once

namespace orv {

class CVKREditorDlg;

// Dresses the panel for the connected amplifier's model character ('0' before any): the
// amplifier-type range, knob travel and names, the cabinet list, the delay layout, every
// model-dependent image and the visibility of the cabinet and gain captions. Run at the end of
// the layout and on every identification; it always leaves the panel consistent with the model.
class SkinApplier {
 public:
  explicit SkinApplier(CVKREditorDlg& dlg) : dlg_(dlg) {}

  void ApplyModelSkin(char model);

  // After the amplifier type changed: the cabinet pull-down for types 0..4, the cabinet caption
  // picture for 5..7 (neither for model '4'), and the gain caption for model '4' at type 0.
  void UpdateCaptions();

 private:
  void applyAmpTypes();
  void applyCabinetList();
  void applyDelayLayout();
  void applyImages();

  CVKREditorDlg& dlg_;
  char model_ = '0';
};

}  // namespace orv
