#pragma once
#include <cstdint>

#include "device/ControlRanges.h"
#include "patch/PatchData.h"

class QWidget;

namespace orv {

class CVKREditorDlg;
class PanelControls;
struct SectionState;

// Brings the panel's controls in line with patch data: the name, the amplifier and the five
// sections (compressor, effect, delay, reverb, gate). For each section it decides which knobs are
// visible and enabled, their captions, ranges and value texts, the entry each pull-down shows and
// whether the section's switch is lit. It only reads the patch and never sends anything.
//
// What it writes into the window besides the controls: the patch name and the section types as
// pull-down entries (the effect list shows Tremolo and Phaser in the opposite order to the patch).
//
// Values outside a control's range are clamped. A compressor, effect or reverb type outside the
// known ones leaves that section as it was; a delay or gate type other than 0 disables the
// section. Only the controls that change are redrawn; number displays are repainted at once so
// that their text never lags behind the knob.
class PanelRefresher {
 public:
  explicit PanelRefresher(CVKREditorDlg& dlg) : dlg_(dlg) {}

  // A whole record: after a slot was loaded, a patch imported or the amplifier's patch arrived.
  // Only the 256 patch bytes are read.
  void ShowRecord(const LibraryEntry& record);
  // One parameter (1001..1055) that changed in the device link's mirror. A knob value moves only
  // its dial and number display; a type or switch redraws the whole section. An amplifier type
  // beyond the knob's range is ignored. Other identifiers are ignored.
  void ShowParameter(int id);
  // At set-up, New and Clear: values from the mirror in the default presentation (Stomp, Chorus,
  // Delay, Hall), every switch dark, every section disabled.
  void NeutralRefresh();

  // One section from `patch`: its type, knobs, captions, switch and enabling. For the amplifier
  // section: its five knobs, the type and the cabinet.
  void RefreshSection(panel::Section section, const PatchData& patch);
  // The section's knobs relabelled, shown or hidden and given their ranges for `type` (data
  // numbering), before a chosen type is written. Values are left alone.
  void RelabelSection(panel::Section section, uint8_t type);
  // The amplifier-type knob shows `value` (clamped to its range) and the name button of the
  // shown type is lit; the model-dependent pictures follow.
  void ShowAmpType(int value);
  // The per-control update: the knob `dialId` and the number display `editId` take `value`, each
  // clamped to its own range. Either identifier may be 0.
  void ShowValue(int dialId, int editId, int value);

 private:
  void showName(const PatchData& patch);
  void refreshAmp(const PatchData& patch);
  void refreshCompressor(const PatchData& patch);
  void refreshEffect(const PatchData& patch);
  void refreshDelay(const PatchData& patch);
  void refreshReverb(const PatchData& patch);
  void refreshGate(const PatchData& patch);
  void showCabinet(int entry);
  void showKnee(int entry);

  // The presentation of a type: visibility, ranges, value texts and captions of every position.
  void present(panel::Section section, uint8_t type);
  // The values of every position `type` uses, read from `patch`.
  void fillValues(panel::Section section, uint8_t type, const PatchData& patch);
  // Position `position` takes the value of parameter `id` read from `patch`.
  void fillPosition(panel::Section section, int position, int id, const PatchData& patch);
  void setCaptions(panel::Section section, uint8_t type);
  void setShown(QWidget* widget, bool shown);
  void setSwitch(panel::Section section, bool lit);
  void showTypeEntry(panel::Section section, int entry);
  void setSectionEnabled(panel::Section section, bool enabled);

  PanelControls& controls();
  QWidget& surface();
  SectionState& sections();

  CVKREditorDlg& dlg_;
};

}  // namespace orv
