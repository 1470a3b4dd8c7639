#pragma once
#include <cstdint>

#include "device/ControlRanges.h"
#include "patch/PatchData.h"

namespace orv {

class CVKREditorDlg;

// Brings the panel's controls in line with patch data: the name, the amplifier and the five
// sections with their knobs' visibility, ranges, captions, pull-down entries, switches and
// enabling. It only reads the patch and never sends anything.
class PanelRefresher {
 public:
  explicit PanelRefresher(CVKREditorDlg& dlg) : dlg_(dlg) {}

  // A whole record (after a slot was loaded, a patch imported or the amplifier's patch arrived).
  void ShowRecord(const LibraryEntry& record);
  // One parameter that changed in the device link's mirror.
  void ShowParameter(int id);
  // Values from the mirror, presentation reset: switches dark, default types, all disabled.
  void NeutralRefresh();

  // One section from `patch` (its type, switch, knobs, captions and enabling).
  void RefreshSection(panel::Section section, const PatchData& patch);
  // The section's knobs relabelled, shown or hidden and given their ranges for `type` (data
  // numbering), before the mirror is written.
  void RelabelSection(panel::Section section, uint8_t type);
  // The amplifier-type knob and its name buttons show `value`.
  void ShowAmpType(int value);
  // The per-control update: the dial and the number display of one knob take `value`.
  void ShowValue(int dialId, int editId, int value);

 private:
  void showKnobs(panel::Section section, uint8_t type, const PatchData* patch);
  void setSectionEnabled(panel::Section section, bool enabled);

  CVKREditorDlg& dlg_;
};

}  // namespace orv
