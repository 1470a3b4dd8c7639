#include "mainwindow/PanelRefresher.h"

#include <QLabel>
#include <QWidget>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "device/ControlRouter.h"
#include "device/DeviceLink.h"
#include "device/ParameterMap.h"
#include "mainwindow/PanelAccessibility.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/NameLists.h"

namespace orv {

using PanelSection = panel::Section;

namespace {

constexpr int kAmpTypeButtons = 8;
constexpr int kCabinetPullDown = panel::kCabinetPullDown;
constexpr int kKneePullDown = panel::kKneePullDown;
constexpr int kRatioScale = PanelControls::kRatioScale;
// The compressor's Ratio knob has no number display of its own; its display stays hidden and is
// left alone by the enabling.
constexpr int kRatioEdit = 1134;

struct SectionLabels {
  int first;
  int count;
};

SectionLabels labelsOf(PanelSection s) {
  switch (s) {
    case PanelSection::Compressor:
      return {1151, 6};
    case PanelSection::Effect:
      return {1181, 5};
    case PanelSection::Delay:
      return {1211, 5};
    case PanelSection::Reverb:
      return {1241, 7};
    case PanelSection::Gate:
      return {1271, 2};
    default:
      return {0, 0};
  }
}

std::optional<orv::Section> captionSection(PanelSection s) {
  switch (s) {
    case PanelSection::Compressor:
      return orv::Section::Compressor;
    case PanelSection::Effect:
      return orv::Section::Effect;
    case PanelSection::Delay:
      return orv::Section::Delay;
    case PanelSection::Reverb:
      return orv::Section::Reverb;
    case PanelSection::Gate:
      return orv::Section::Gate;
    default:
      return std::nullopt;
  }
}

// Index of a section's stored type (pull-down entry) in the window's section state.
int typeSlot(PanelSection s) {
  switch (s) {
    case PanelSection::Compressor:
      return 0;
    case PanelSection::Effect:
      return 1;
    case PanelSection::Delay:
      return 2;
    case PanelSection::Reverb:
      return 3;
    default:
      return -1;
  }
}

uint8_t byteAt(const PatchData& patch, int offset) {
  return patch[static_cast<std::size_t>(offset)];
}

bool switchedOff(const PatchData& patch, const panel::SectionControls& c) {
  return byteAt(patch, c.typeOffset + 15) == patch::kOff;
}

int valueOf(const PatchData& patch, int id) {
  return readValue(patch, static_cast<std::size_t>(params::offsetOf(id)), params::isTwoByte(id));
}

// Where a knob parameter is shown: its section, its position and whether only the dial shows it.
struct Shown {
  PanelSection section;
  int position;
  bool dialOnly;
};

// Looks the identifier up among the positions of every section type, using the same table the
// control routing uses.
std::optional<Shown> whereShown(int id) {
  constexpr PanelSection kAll[] = {PanelSection::Amp,    PanelSection::Compressor,
                                   PanelSection::Effect, PanelSection::Delay,
                                   PanelSection::Reverb, PanelSection::Gate};
  for (PanelSection s : kAll) {
    const panel::SectionControls* c = panel::sectionControls(s);
    for (uint8_t type = 0; type < 4; ++type) {
      for (int pos = 0; pos < c->positions; ++pos) {
        const panel::PositionSpec* spec = panel::positionSpec(s, type, pos);
        if (spec && spec->id == id) return Shown{s, pos, spec->dialOnly};
      }
    }
  }
  return std::nullopt;
}

// The section whose whole refresh a type or switch identifier asks for.
PanelSection sectionOfTypeOrSwitch(int id) {
  switch (id) {
    case params::kCompType:
    case params::kCompOn:
      return PanelSection::Compressor;
    case params::kEffectType:
    case params::kEffectOn:
      return PanelSection::Effect;
    case params::kDelayType:
    case params::kDelayOn:
      return PanelSection::Delay;
    case params::kReverbType:
    case params::kReverbOn:
      return PanelSection::Reverb;
    case params::kGateType:
    case params::kGateOn:
      return PanelSection::Gate;
    default:
      return PanelSection::None;
  }
}

}  // namespace

PanelControls& PanelRefresher::controls() {
  return dlg_.controls();
}
QWidget& PanelRefresher::surface() {
  return dlg_.surface();
}
SectionState& PanelRefresher::sections() {
  return dlg_.sectionState();
}

// ---------------------------------------------------------------------------------------------
// Entry points

void PanelRefresher::ShowRecord(const LibraryEntry& record) {
  const PatchData& patch = record.data;
  showName(patch);
  refreshAmp(patch);
  refreshCompressor(patch);
  refreshEffect(patch);
  refreshDelay(patch);
  refreshReverb(patch);
  refreshGate(patch);
}

void PanelRefresher::ShowParameter(int id) {
  if (id < params::kFirstId || id > params::kLastId) return;
  const PatchData mirror = DeviceLink::instance().mirror();
  const int value = valueOf(mirror, id);

  if (id == params::kAmpType) {
    const CVKRDial* knob = controls().ampTypeKnob();
    if (knob && value >= knob->GetMin() && value <= knob->GetMax()) ShowAmpType(value);
    return;
  }
  if (id == params::kCabinet) return showCabinet(value);
  if (id == params::kKnee) return showKnee(value);
  if (const PanelSection s = sectionOfTypeOrSwitch(id); s != PanelSection::None)
    return RefreshSection(s, mirror);
  if (const std::optional<Shown> at = whereShown(id)) {
    const panel::SectionControls* c = panel::sectionControls(at->section);
    ShowValue(c->firstDial + at->position, at->dialOnly ? 0 : c->firstEdit + at->position, value);
  }
}

void PanelRefresher::NeutralRefresh() {
  const PatchData mirror = DeviceLink::instance().mirror();

  for (PanelSection s : {PanelSection::Compressor, PanelSection::Effect, PanelSection::Delay,
                         PanelSection::Reverb, PanelSection::Gate})
    setSwitch(s, false);
  for (PanelSection s :
       {PanelSection::Compressor, PanelSection::Effect, PanelSection::Delay, PanelSection::Reverb})
    showTypeEntry(s, 0);

  const panel::SectionControls* amp = panel::sectionControls(PanelSection::Amp);
  for (int pos = 0; pos < amp->positions; ++pos)
    fillPosition(PanelSection::Amp, pos, params::kAmpType + 1 + pos, mirror);
  ShowAmpType(byteAt(mirror, patch::kAmpType));
  showCabinet(0);

  // Default presentations; the values of the knobs' identifiers under them, whatever type the
  // mirror holds.
  present(PanelSection::Compressor, patch::Stomp);
  for (int pos = 0; pos < 5; ++pos) fillPosition(PanelSection::Compressor, pos, 1009 + pos, mirror);
  present(PanelSection::Effect, patch::Chorus);
  for (int pos = 0; pos < 5; ++pos) fillPosition(PanelSection::Effect, pos, 1019 + pos, mirror);
  present(PanelSection::Delay, 0);
  fillValues(PanelSection::Delay, 0, mirror);
  present(PanelSection::Reverb, patch::Hall);
  fillValues(PanelSection::Reverb, patch::Hall, mirror);
  present(PanelSection::Gate, 0);
  fillValues(PanelSection::Gate, 0, mirror);

  for (PanelSection s : {PanelSection::Compressor, PanelSection::Effect, PanelSection::Delay,
                         PanelSection::Reverb, PanelSection::Gate})
    setSectionEnabled(s, false);
  dlg_.pushNameToEdit();
}

void PanelRefresher::RefreshSection(PanelSection section, const PatchData& patch) {
  switch (section) {
    case PanelSection::Amp:
      return refreshAmp(patch);
    case PanelSection::Compressor:
      return refreshCompressor(patch);
    case PanelSection::Effect:
      return refreshEffect(patch);
    case PanelSection::Delay:
      return refreshDelay(patch);
    case PanelSection::Reverb:
      return refreshReverb(patch);
    case PanelSection::Gate:
      return refreshGate(patch);
    case PanelSection::None:
      return;
  }
}

void PanelRefresher::RelabelSection(PanelSection section, uint8_t type) {
  present(section, type);
}

void PanelRefresher::ShowAmpType(int value) {
  PanelControls& c = controls();
  CVKRDial* knob = c.ampTypeKnob();
  if (!knob) return;
  knob->SetValue(value);
  surface().update(knob->RepaintArea());
  // The lit name is the type the knob shows, so the two never disagree (a type beyond the
  // model's range shows as its last type).
  for (int i = 0; i < kAmpTypeButtons; ++i) {
    CCustomButton* name = c.button(panel::kFirstAmpTypeButton + i);
    if (!name) continue;
    const int lit = i == knob->GetValue() ? 1 : 0;
    if (name->GetState() == lit) continue;
    name->SetState(lit);
    name->update();
  }
  dlg_.skin().AmpTypeShown();
}

void PanelRefresher::ShowValue(int dialId, int editId, int value) {
  PanelControls& c = controls();
  if (CVKRNumberEditText* edit = editId ? c.display(editId) : nullptr) {
    edit->SetValue(value);
    edit->repaint();
  }
  if (CVKRDial* dial = dialId ? c.dial(dialId) : nullptr) {
    dial->SetValue(value);
    surface().update(dial->RepaintArea());
  }
}

// ---------------------------------------------------------------------------------------------
// Sections

void PanelRefresher::showName(const PatchData& patch) {
  const char* bytes = reinterpret_cast<const char*>(patch.bytes.data());
  const auto length = static_cast<qsizetype>(::strnlen(bytes, patch::kNameLength));
  dlg_.setPatchName(QString::fromLatin1(bytes, length));
}

void PanelRefresher::refreshAmp(const PatchData& patch) {
  fillValues(PanelSection::Amp, 0, patch);
  ShowAmpType(byteAt(patch, patch::kAmpType));
  showCabinet(byteAt(patch, patch::kCabinet));
}

void PanelRefresher::refreshCompressor(const PatchData& patch) {
  const panel::SectionControls& c = *panel::sectionControls(PanelSection::Compressor);
  const uint8_t type = byteAt(patch, c.typeOffset);
  const bool known = type == patch::Stomp || type == patch::Rack;
  if (known) {
    present(PanelSection::Compressor, type);
    fillValues(PanelSection::Compressor, type, patch);
    if (type == patch::Rack) showKnee(byteAt(patch, 150));
    showTypeEntry(PanelSection::Compressor, type);
    setSwitch(PanelSection::Compressor, true);
  }
  if (switchedOff(patch, c)) setSwitch(PanelSection::Compressor, false);
  setSectionEnabled(PanelSection::Compressor, known && !switchedOff(patch, c));
}

void PanelRefresher::refreshEffect(const PatchData& patch) {
  const panel::SectionControls& c = *panel::sectionControls(PanelSection::Effect);
  const uint8_t type = byteAt(patch, c.typeOffset);
  if (type > patch::Phaser) return;  // unknown: the section stays exactly as it was
  present(PanelSection::Effect, type);
  fillValues(PanelSection::Effect, type, patch);
  showTypeEntry(PanelSection::Effect, effectDataToList(type));
  const bool on = !switchedOff(patch, c);
  setSwitch(PanelSection::Effect, on);
  setSectionEnabled(PanelSection::Effect, on);
}

void PanelRefresher::refreshDelay(const PatchData& patch) {
  const panel::SectionControls& c = *panel::sectionControls(PanelSection::Delay);
  bool enabled = true;
  if (byteAt(patch, c.typeOffset) == 0) {
    showTypeEntry(PanelSection::Delay, 0);
    setSwitch(PanelSection::Delay, true);
  } else {
    enabled = false;  // the switch keeps its state
  }
  if (switchedOff(patch, c)) {
    setSwitch(PanelSection::Delay, false);
    enabled = false;
  }
  setSectionEnabled(PanelSection::Delay, enabled);
  fillValues(PanelSection::Delay, 0, patch);
}

void PanelRefresher::refreshReverb(const PatchData& patch) {
  const panel::SectionControls& c = *panel::sectionControls(PanelSection::Reverb);
  const uint8_t type = byteAt(patch, c.typeOffset);
  if (type > patch::Spring) return;  // unknown: the section stays as it was
  present(PanelSection::Reverb, type);
  fillValues(PanelSection::Reverb, type, patch);
  showTypeEntry(PanelSection::Reverb, type);
  const bool on = !switchedOff(patch, c);
  setSwitch(PanelSection::Reverb, on);
  setSectionEnabled(PanelSection::Reverb, on);
}

void PanelRefresher::refreshGate(const PatchData& patch) {
  const panel::SectionControls& c = *panel::sectionControls(PanelSection::Gate);
  bool enabled = true;
  if (byteAt(patch, c.typeOffset) == 0)
    setSwitch(PanelSection::Gate, true);
  else
    enabled = false;
  if (switchedOff(patch, c)) {
    setSwitch(PanelSection::Gate, false);
    enabled = false;
  }
  setSectionEnabled(PanelSection::Gate, enabled);
  fillValues(PanelSection::Gate, 0, patch);
}

void PanelRefresher::showCabinet(int entry) {
  if (CVKRPullDownMenu* cabinet = controls().pullDown(kCabinetPullDown)) {
    cabinet->SetSelection(entry);
    cabinet->update();
  }
}

void PanelRefresher::showKnee(int entry) {
  if (CVKRPullDownMenu* knee = controls().pullDown(kKneePullDown)) {
    knee->SetSelection(entry);
    knee->update();
  }
}

// ---------------------------------------------------------------------------------------------
// Presentation

void PanelRefresher::present(PanelSection section, uint8_t type) {
  PanelControls& c = controls();
  const panel::SectionControls* sc = panel::sectionControls(section);
  if (!sc) return;
  // The delay keeps the layout the model's skin gave it, and the amplifier and gate never change
  // theirs: only their ranges and value texts are set.
  const bool layoutByType = section == PanelSection::Compressor ||
                            section == PanelSection::Effect || section == PanelSection::Reverb;
  for (int pos = 0; pos < sc->positions; ++pos) {
    const panel::PositionSpec* spec = panel::positionSpec(section, type, pos);
    CVKRDial* dial = c.dial(sc->firstDial + pos);
    CVKRNumberEditText* edit = c.display(sc->firstEdit + pos);
    if (layoutByType) {
      setShown(dial, spec != nullptr);
      setShown(edit, spec != nullptr && !spec->dialOnly);
    }
    if (!spec) continue;
    if (dial) dial->SetRange(spec->range.min, spec->range.max);
    if (edit) {
      edit->SetRange(spec->range.min, spec->range.max);
      if (edit->GetFormatId() != spec->id) {
        edit->SetFormatId(spec->id);
        edit->update();
      }
    }
  }
  if (section == PanelSection::Compressor) {
    const bool rack = type == patch::Rack;
    setShown(c.widget(kRatioScale), rack);
    setShown(c.widget(kKneePullDown), rack);
  }
  if (section == PanelSection::Reverb) {
    // Time's special stepping belongs to the Hall, Room and Plate knob only.
    const bool hundredRule = type != patch::Spring;
    if (CVKRDial* time = c.dial(sc->firstDial)) time->SetHundredRule(hundredRule);
    if (CVKRNumberEditText* time = c.display(sc->firstEdit)) time->SetHundredRule(hundredRule);
  }
  setCaptions(section, type);
}

void PanelRefresher::fillValues(PanelSection section, uint8_t type, const PatchData& patch) {
  const panel::SectionControls* sc = panel::sectionControls(section);
  for (int pos = 0; pos < sc->positions; ++pos)
    if (const panel::PositionSpec* spec = panel::positionSpec(section, type, pos))
      fillPosition(section, pos, spec->id, patch);
}

void PanelRefresher::fillPosition(PanelSection section, int position, int id,
                                  const PatchData& patch) {
  const panel::SectionControls* sc = panel::sectionControls(section);
  const bool dialOnly =
      section == PanelSection::Compressor && sc->firstEdit + position == kRatioEdit;
  ShowValue(sc->firstDial + position, dialOnly ? 0 : sc->firstEdit + position, valueOf(patch, id));
}

void PanelRefresher::setCaptions(PanelSection section, uint8_t type) {
  const std::optional<orv::Section> captions = captionSection(section);
  if (!captions) return;
  const auto texts = knobCaptions(*captions, type);
  const SectionLabels labels = labelsOf(section);
  for (int i = 0; i < labels.count; ++i) {
    QLabel* label = controls().label(labels.first + i);
    if (!label) continue;
    const std::string_view text = static_cast<std::size_t>(i) < texts.size()
                                      ? texts[static_cast<std::size_t>(i)]
                                      : std::string_view{};
    const QString caption = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (label->text() == caption) continue;
    label->setText(caption);
    surface().update(label->geometry());  // the window draws the label texts itself
  }
  PanelAccessibility::NameControls(dlg_);
}

void PanelRefresher::setShown(QWidget* widget, bool shown) {
  if (!widget || widget->isHidden() != shown) return;
  widget->setVisible(shown);
  surface().update(widget->geometry());  // knobs and pictures are drawn by the window
}

void PanelRefresher::setSwitch(PanelSection section, bool lit) {
  const panel::SectionControls* sc = panel::sectionControls(section);
  CCustomButton* sw = sc ? controls().button(sc->switchId) : nullptr;
  if (!sw) return;
  sw->SetState(lit ? 1 : 0);
  sw->update();
}

void PanelRefresher::showTypeEntry(PanelSection section, int entry) {
  const panel::SectionControls* sc = panel::sectionControls(section);
  if (const int slot = typeSlot(section); slot >= 0)
    sections().rememberedItem[static_cast<std::size_t>(slot)] = entry;
  if (CVKRPullDownMenu* pd = sc ? controls().pullDown(sc->pullDownId) : nullptr) {
    pd->SetSelection(entry);
    pd->update();
  }
}

void PanelRefresher::setSectionEnabled(PanelSection section, bool enabled) {
  PanelControls& c = controls();
  const panel::SectionControls* sc = panel::sectionControls(section);
  for (int pos = 0; pos < sc->positions; ++pos) {
    if (QWidget* dial = c.widget(sc->firstDial + pos)) dial->setEnabled(enabled);
    const int editId = sc->firstEdit + pos;
    if (editId == kRatioEdit) continue;
    if (QWidget* edit = c.widget(editId)) edit->setEnabled(enabled);
  }
  if (sc->pullDownId)
    if (QWidget* pd = c.widget(sc->pullDownId)) pd->setEnabled(enabled);
  if (section == PanelSection::Compressor)
    if (QWidget* knee = c.widget(kKneePullDown)) knee->setEnabled(enabled);
}

}  // namespace orv
