#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "device/ControlRanges.h"
#include "device/ParameterWriter.h"
#include "patch/GenericException.h"

namespace orv {

class DeviceLink;

// What the main window keeps about its sections and hands to every routed gesture.
struct SectionState {
  // The item last chosen (or last shown by the panel refresh) in the type pull-downs of the
  // compressor, effect, delay and reverb, as list positions (effect: Chorus, Flanger, Phaser,
  // Tremolo). The router updates it when a different item is chosen.
  std::array<int, 4> rememberedItem{};
  // Model code of the connected (or last connected) amplifier; '0' before any has answered.
  char modelCode = '0';
};

// What the panel must do after a routed gesture. Apply the steps in field order, then call
// throwIfFailed() so that a failed send reaches the error box after the panel shows the mirror.
struct RouteResult {
  bool handled = false;  // the control or pull-down kind belongs to the routing table
  int parameter = 0;     // identifier the gesture was routed to; 0 when the table routes it nowhere
  bool changed = false;  // the mirror changed

  // The gesture's value clamped to its controls' range: the dial and its number edit take it
  // (either is 0 when there is none to update).
  int shownValue = 0;
  int dial = 0;
  int edit = 0;
  // The amp-type knob and the eight name buttons show `shownValue` (with the cabinet visibility
  // that follows the amp type).
  bool ampType = false;

  // Relabel, show or hide and give ranges to the controls of `relabel` for `relabelType` (data
  // numbering): a type pull-down was used.
  panel::Section relabel = panel::Section::None;
  uint8_t relabelType = 0;
  // Refresh the whole section from the mirror.
  panel::Section refresh = panel::Section::None;
  // Redraw this pull-down (cabinet or knee); 0 for none.
  int redrawPullDown = 0;
  // Perform the patch-touched step.
  bool patchTouched = false;

  // A failed send (code 202). The mirror already holds the new value and `edited` is not set.
  std::optional<CGenericException> failure;

  void throwIfFailed() const {
    if (failure) throw *failure;
  }
};

// The control-to-parameter routing of the main window's panel: every control gesture and every
// pull-down choice goes through here, which clamps the value to its controls' range, performs the
// write on the device link's mirror with its sends, and says what the panel must show afterwards.
//
// Which parameter a section's knob writes follows the block's type byte in the mirror. The writer
// checks again under the mirror lock that the parameter exists under the type held at the moment
// of writing, so a type changed at the amplifier in between never lets a knob write into another
// type's bytes (the write is then dropped; the amplifier's type change refreshes the section).
//
// UI thread only (the mirror itself is guarded by the device link).
class ControlRouter {
 public:
  explicit ControlRouter(DeviceLink& link) : link_(link), writer_(link) {}

  // A listener call (control identifier, new value) or a button command. Section switches
  // 1019..1023 take the button's new state: nonzero = on. Amp-type buttons ignore the value.
  RouteResult control(int controlId, int value, SectionState& state);

  // A pull-down choice (list kind, item index).
  RouteResult pullDown(int kind, int item, SectionState& state);

  ParameterWriter& writer() { return writer_; }

 private:
  RouteResult ampTypeControl(int controlId, int value, const SectionState& state);
  RouteResult knob(const panel::ControlPosition& where, int value);
  RouteResult sectionSwitch(int controlId, int value);
  // Performs the write; a failed send is kept in the result, anything else propagates.
  template <class Write>
  void perform(RouteResult& r, Write&& write);

  DeviceLink& link_;
  ParameterWriter writer_;
};

}  // namespace orv
