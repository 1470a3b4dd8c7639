#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv::panel {

// The panel's parameter controls as plain data: which parameter each dial and number edit of a
// section shows under each block type, and the range both controls take. The control router
// clamps to these ranges before it writes, and the panel gives its controls the same ranges, so
// the two never disagree.

enum class Section : uint8_t { None, Amp, Compressor, Effect, Delay, Reverb, Gate };

struct ValueRange {
  int min = 0;
  int max = 0;
  constexpr int clamp(int v) const { return v < min ? min : v > max ? max : v; }
  constexpr bool operator==(const ValueRange&) const = default;
};

// One knob position under one block type.
struct PositionSpec {
  int id = 0;  // parameter identifier
  ValueRange range;
  bool dialOnly = false;  // shown by the dial alone (the Rack compressor's Ratio knob)
};

// Control identifiers of one section. A number edit's identifier is its dial's minus 10.
struct SectionControls {
  Section section;
  int firstEdit;
  int firstDial;
  int positions;   // dials of the section
  int typeOffset;  // PatchData offset of the block's type byte
  int switchId;    // on/off button, 0 for the amplifier
  int pullDownId;  // type pull-down, 0 when none
};

constexpr int kEditToDial = 10;

// Amplifier type knob and its eight name buttons.
constexpr int kAmpTypeDial = 1078;
constexpr int kFirstAmpTypeButton = 1087;
constexpr int kLastAmpTypeButton = 1094;
// Section on/off buttons: compressor, effect, delay, reverb, gate.
constexpr int kFirstSwitch = 1019;
constexpr int kLastSwitch = 1023;
// Pull-downs: the four section types, cabinet and compressor knee.
constexpr int kCompTypePullDown = 1033, kEffectTypePullDown = 1034, kDelayTypePullDown = 1035,
              kReverbTypePullDown = 1036, kCabinetPullDown = 1117, kKneePullDown = 1147;
// The library list's scroll bar.
constexpr int kListScrollBar = 1287;

// Pull-down list kinds.
enum PullDownKind : int {
  kCompTypeList = 0,
  kEffectTypeList = 1,
  kDelayTypeList = 2,
  kReverbTypeList = 3,
  kCabinetList = 4,
  kKneeList = 5,
  kCabinetList2 = 6,  // cabinets of model '2'
  kCabinetList3 = 7,  // cabinets of model '3'
};

// Number of entries of a pull-down list kind; 0 for a kind outside 0..7.
int pullDownItemCount(int kind);

// The controls of a section; nullptr for Section::None.
const SectionControls* sectionControls(Section s);

// Where a number edit or dial sits: its section, its position (0-based) and whether it is the dial.
struct ControlPosition {
  Section section;
  int position;
  bool dial;
};
std::optional<ControlPosition> controlPosition(int controlId);

// What position `position` of section `s` shows while the block's type byte holds `type` (data
// numbering). The amplifier, delay and gate sections ignore the type. nullptr when the position
// shows nothing under that type (hidden knobs, unknown types).
const PositionSpec* positionSpec(Section s, uint8_t type, int position);

// Range of the amplifier-type knob for a model code: 0..7 for '1'..'3', 0..4 otherwise.
ValueRange ampTypeRange(char modelCode);

// The range the panel gives the knob of parameter `id` under any type of its section; none for
// parameters no knob shows (type bytes, switches, the cabinet and knee selectors).
std::optional<ValueRange> knobRange(int id);

// A section's title as the panel of model family `modelCode` prints it ("Tape Echo" for the
// delay of '3', "Noise Gate"); "Amp" for the amplifier.
std::string_view sectionTitle(Section s, char modelCode);

// The caption of the amplifier-type selector: "Mic Type" on the acoustic family '4'.
std::string_view ampSelectorTitle(char modelCode);

}  // namespace orv::panel
