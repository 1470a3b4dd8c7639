#pragma once

namespace orv {

class CVKREditorDlg;

// The panel's face for assistive tools and keyboard users:
//
//   - the accessibility interfaces of the skinned controls, and what each button is (switch,
//     amplifier-type name, indicator, push button);
//   - every control's name, taken from the captions the panel shows (the knobs' labels, which
//     change with a section's type, the amplifier section's printed captions, which change with
//     the model) and the value texts of the knobs;
//   - the Tab order in reading order: patch name, amplifier section left to right, each section
//     top to bottom (switch, type, knobs left to right), the library list, Save To Library.
class PanelAccessibility {
 public:
  // Once, before the controls are made: from then on an assistive client that asks gets the
  // controls' own interfaces (the layer keeps the first interface it makes for an object).
  static void Install();
  // Once, after the controls exist.
  static void SetUp(CVKREditorDlg& dlg);
  // Again whenever captions may have changed: a section's type, the model, the amplifier type.
  // Only names that change are set (each change is announced to assistive tools).
  static void NameControls(CVKREditorDlg& dlg);
  static void SetTabOrder(CVKREditorDlg& dlg);
};

}  // namespace orv
