#include "device/ControlRouter.h"

#include "device/DeviceLink.h"
#include "device/ParameterMap.h"
#include "patch/PatchData.h"
#include "patch/StringTable.h"

namespace orv {

using panel::Section;

namespace {

// The type pull-downs by list kind 0..3: section and type byte written.
struct TypePullDown {
  Section section;
  int typeId;
};
constexpr TypePullDown kTypePullDowns[] = {
    {Section::Compressor, params::kCompType},
    {Section::Effect, params::kEffectType},
    {Section::Delay, params::kDelayType},
    {Section::Reverb, params::kReverbType},
};

// The sections of the switch buttons 1019..1023, in button order.
constexpr Section kSwitchSections[] = {Section::Compressor, Section::Effect, Section::Delay,
                                       Section::Reverb, Section::Gate};

}  // namespace

template <class Write>
void ControlRouter::perform(RouteResult& r, Write&& write) {
  try {
    r.changed = write() == ParameterWriter::Outcome::Written;
  } catch (const CGenericException& e) {
    if (e.code() != strings::UsbSendError) throw;
    r.changed = true;  // the mirror holds the new value; the amplifier may not
    r.failure = e;
  }
}

RouteResult ControlRouter::control(int controlId, int value, SectionState& state) {
  if (controlId == panel::kAmpTypeDial ||
      (controlId >= panel::kFirstAmpTypeButton && controlId <= panel::kLastAmpTypeButton))
    return ampTypeControl(controlId, value, state);
  if (controlId >= panel::kFirstSwitch && controlId <= panel::kLastSwitch)
    return sectionSwitch(controlId, value);
  if (controlId == panel::kListScrollBar) {
    RouteResult r;
    r.handled = true;  // the list scrolls itself; no parameter, no patch-touched step
    return r;
  }
  if (const auto where = panel::controlPosition(controlId)) return knob(*where, value);
  return {};
}

RouteResult ControlRouter::ampTypeControl(int controlId, int value, const SectionState& state) {
  const bool button = controlId != panel::kAmpTypeDial;
  RouteResult r;
  r.handled = true;
  r.patchTouched = true;
  r.ampType = true;
  r.parameter = params::kAmpType;
  r.shownValue = panel::ampTypeRange(state.modelCode)
                     .clamp(button ? controlId - panel::kFirstAmpTypeButton : value);
  perform(r, [&] { return writer_.setOneByte(params::kAmpType, r.shownValue); });
  return r;
}

RouteResult ControlRouter::knob(const panel::ControlPosition& where, int value) {
  RouteResult r;
  r.handled = true;
  r.patchTouched = true;
  const panel::SectionControls* controls = panel::sectionControls(where.section);
  const uint8_t type = link_.mirror()[static_cast<std::size_t>(controls->typeOffset)];
  const panel::PositionSpec* spec = panel::positionSpec(where.section, type, where.position);
  // Knobs the block's type does not use, and the hidden number edit of a dial-only knob.
  if (spec == nullptr || (spec->dialOnly && !where.dial)) return r;

  r.parameter = spec->id;
  r.shownValue = spec->range.clamp(value);
  r.dial = controls->firstDial + where.position;
  r.edit = spec->dialOnly ? 0 : controls->firstEdit + where.position;
  perform(r, [&] { return writer_.set(spec->id, r.shownValue); });
  return r;
}

RouteResult ControlRouter::sectionSwitch(int controlId, int value) {
  const Section section = kSwitchSections[controlId - panel::kFirstSwitch];
  const int block = panel::sectionControls(section)->typeOffset;
  RouteResult r;
  r.handled = true;
  r.patchTouched = true;
  r.refresh = section;
  r.parameter = params::identifierOf(block + 15, 0);
  perform(r, [&] { return writer_.setSectionSwitch(block, value != 0); });
  return r;
}

RouteResult ControlRouter::pullDown(int kind, int item, SectionState& state) {
  RouteResult r;
  if (item < 0 || item >= panel::pullDownItemCount(kind)) return r;
  r.handled = true;

  if (kind <= panel::kReverbTypeList) {
    const TypePullDown& p = kTypePullDowns[kind];
    const auto data = static_cast<uint8_t>(
        kind == panel::kEffectTypeList ? effectListToData(static_cast<uint8_t>(item)) : item);
    r.relabel = p.section;
    r.relabelType = data;
    int& remembered = state.rememberedItem[static_cast<std::size_t>(kind)];
    if (remembered == item) return r;  // only relabelled and laid out again
    remembered = item;
    r.refresh = p.section;
    r.patchTouched = true;
    r.parameter = p.typeId;
    perform(r, [&] { return writer_.setOneByte(p.typeId, data); });
    return r;
  }

  const bool knee = kind == panel::kKneeList;
  r.redrawPullDown = knee ? panel::kKneePullDown : panel::kCabinetPullDown;
  r.patchTouched = true;
  r.parameter = knee ? params::kKnee : params::kCabinet;
  perform(r, [&] { return writer_.setOneByte(r.parameter, item); });
  return r;
}

}  // namespace orv
