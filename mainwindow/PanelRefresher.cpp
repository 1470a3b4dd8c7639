#include "mainwindow/PanelRefresher.h"

#include <QLabel>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "device/DeviceLink.h"
#include "device/ParameterMap.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/NameLists.h"

namespace orv {

using PanelSection = panel::Section;

namespace {

constexpr PanelSection kSections[] = {PanelSection::Compressor, PanelSection::Effect,
                                      PanelSection::Delay, PanelSection::Reverb,
                                      PanelSection::Gate};

// First label of each section (the labels follow the knobs in order).
int firstLabel(PanelSection s) {
  switch (s) {
    case PanelSection::Compressor:
      return 1151;
    case PanelSection::Effect:
      return 1181;
    case PanelSection::Delay:
      return 1211;
    case PanelSection::Reverb:
      return 1241;
    case PanelSection::Gate:
      return 1271;
    default:
      return 0;
  }
}

int labelCount(PanelSection s) {
  return s == PanelSection::Compressor ? 6 : s == PanelSection::Reverb ? 7 : 5;
}

orv::Section captionSection(PanelSection s) {
  switch (s) {
    case PanelSection::Compressor:
      return orv::Section::Compressor;
    case PanelSection::Effect:
      return orv::Section::Effect;
    case PanelSection::Delay:
      return orv::Section::Delay;
    case PanelSection::Reverb:
      return orv::Section::Reverb;
    default:
      return orv::Section::Gate;
  }
}

int valueOf(const PatchData& patch, int id) {
  return readValue(patch, static_cast<std::size_t>(params::offsetOf(id)), params::isTwoByte(id));
}

}  // namespace

void PanelRefresher::ShowValue(int dialId, int editId, int value) {
  PanelControls& c = dlg_.controls();
  if (CVKRNumberEditText* edit = c.display(editId)) {
    edit->SetValue(value);
    edit->repaint();
  }
  if (CVKRDial* dial = c.dial(dialId)) {
    dial->SetValue(value);
    dlg_.surface().update(dial->RepaintArea());
  }
}

void PanelRefresher::ShowAmpType(int value) {
  PanelControls& c = dlg_.controls();
  CVKRDial* knob = c.ampTypeKnob();
  if (!knob) return;
  knob->SetValue(value);
  dlg_.surface().update(knob->RepaintArea());
  for (int i = 0; i < 8; ++i) {
    CCustomButton* b = c.button(1087 + i);
    if (!b) continue;
    const int lit = i == knob->GetValue() ? 1 : 0;
    if (b->GetState() != lit) {
      b->SetState(lit);
      b->update();
    }
  }
  dlg_.skin().UpdateCaptions();
}

void PanelRefresher::showKnobs(PanelSection section, uint8_t type, const PatchData* patch) {
  PanelControls& c = dlg_.controls();
  const panel::SectionControls* sc = panel::sectionControls(section);
  const auto captions = knobCaptions(captionSection(section), type);
  for (int pos = 0; pos < sc->positions; ++pos) {
    const panel::PositionSpec* spec = panel::positionSpec(section, type, pos);
    CVKRDial* dial = c.dial(sc->firstDial + pos);
    CVKRNumberEditText* edit = c.display(sc->firstEdit + pos);
    if (dial) {
      dial->setVisible(spec != nullptr);
      if (spec) dial->SetRange(spec->range.min, spec->range.max);
    }
    if (edit) {
      edit->setVisible(spec != nullptr && !spec->dialOnly);
      if (spec) {
        edit->SetRange(spec->range.min, spec->range.max);
        edit->SetFormatId(spec->id);
      }
    }
    if (spec && patch)
      ShowValue(sc->firstDial + pos, sc->firstEdit + pos, valueOf(*patch, spec->id));
  }
  if (section == PanelSection::Amp) return;
  if (section == PanelSection::Compressor) {
    // The ratio scale and the knee belong to the Rack compressor.
    const bool rack = type == patch::Rack;
    if (QWidget* ratio = c.widget(PanelControls::kRatioScale)) ratio->setVisible(rack);
    if (CVKRPullDownMenu* knee = c.pullDown(1147)) {
      knee->setVisible(rack);
      if (rack && patch) knee->SetSelection((*patch)[150]);
    }
  }
  for (int i = 0; i < labelCount(section); ++i) {
    if (QLabel* label = c.label(firstLabel(section) + i)) {
      const auto caption = size_t(i) < captions.size() ? captions[size_t(i)] : std::string_view{};
      label->setText(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    }
  }
  dlg_.surface().update();
}

void PanelRefresher::setSectionEnabled(PanelSection section, bool enabled) {
  PanelControls& c = dlg_.controls();
  const panel::SectionControls* sc = panel::sectionControls(section);
  for (int pos = 0; pos < sc->positions; ++pos) {
    if (QWidget* w = c.widget(sc->firstDial + pos)) w->setEnabled(enabled);
    if (QWidget* w = c.widget(sc->firstEdit + pos)) w->setEnabled(enabled);
  }
  if (sc->pullDownId)
    if (QWidget* w = c.widget(sc->pullDownId)) w->setEnabled(enabled);
}

void PanelRefresher::RelabelSection(PanelSection section, uint8_t type) {
  showKnobs(section, type, nullptr);
}

void PanelRefresher::RefreshSection(PanelSection section, const PatchData& patch) {
  const panel::SectionControls* sc = panel::sectionControls(section);
  if (!sc) return;
  const uint8_t type = patch[size_t(sc->typeOffset)];
  if (section == PanelSection::Amp) {
    showKnobs(section, type, &patch);
    return;
  }
  showKnobs(section, type, &patch);
  const bool on = patch[size_t(sc->typeOffset + 15)] != patch::kOff;
  PanelControls& c = dlg_.controls();
  if (CCustomButton* sw = c.button(sc->switchId)) {
    sw->SetState(on ? 1 : 0);
    sw->update();
  }
  if (CVKRPullDownMenu* pd = c.pullDown(sc->pullDownId)) {
    const int entry = section == PanelSection::Effect ? effectDataToList(type) : type;
    pd->SetSelection(entry);
    pd->update();
    if (section != PanelSection::Gate && entry >= 0 && entry < 4)
      dlg_.sectionState().rememberedItem[size_t(section) - size_t(PanelSection::Compressor)] =
          entry;
  }
  setSectionEnabled(section, on);
}

void PanelRefresher::ShowRecord(const LibraryEntry& record) {
  const PatchData& patch = record.data;
  dlg_.setPatchName(QString::fromLatin1(
      reinterpret_cast<const char*>(patch.bytes.data()),
      qsizetype(qstrnlen(reinterpret_cast<const char*>(patch.bytes.data()), patch::kNameLength))));
  RefreshSection(PanelSection::Amp, patch);
  ShowAmpType(patch[patch::kAmpType]);
  if (CVKRPullDownMenu* cabinet = dlg_.controls().pullDown(1117)) {
    cabinet->SetSelection(patch[patch::kCabinet]);
    cabinet->update();
  }
  for (PanelSection s : kSections) RefreshSection(s, patch);
}

void PanelRefresher::ShowParameter(int id) {
  if (id < params::kFirstId || id > params::kLastId) return;
  const PatchData mirror = DeviceLink::instance().mirror();
  if (id == params::kAmpType) {
    const CVKRDial* knob = dlg_.controls().ampTypeKnob();
    const int value = mirror[patch::kAmpType];
    if (knob && value >= knob->GetMin() && value <= knob->GetMax()) ShowAmpType(value);
    return;
  }
  if (id == params::kCabinet) {
    if (CVKRPullDownMenu* cabinet = dlg_.controls().pullDown(1117)) {
      cabinet->SetSelection(mirror[patch::kCabinet]);
      cabinet->update();
    }
    return;
  }
  switch (params::blockOf(params::offsetOf(id))) {
    case 128:
      RefreshSection(PanelSection::Amp, mirror);
      break;
    case 144:
      RefreshSection(PanelSection::Compressor, mirror);
      break;
    case 160:
      RefreshSection(PanelSection::Effect, mirror);
      break;
    case 176:
      RefreshSection(PanelSection::Delay, mirror);
      break;
    case 192:
      RefreshSection(PanelSection::Reverb, mirror);
      break;
    default:
      RefreshSection(PanelSection::Gate, mirror);
      break;
  }
}

void PanelRefresher::NeutralRefresh() {
  PatchData shown = DeviceLink::instance().mirror();
  for (std::size_t typeOffset : {patch::kCompType, patch::kEffectType, patch::kDelayType,
                                 patch::kReverbType, patch::kGateType})
    shown[typeOffset] = 0;
  LibraryEntry record;
  record.data = shown;
  ShowRecord(record);
  ShowAmpType(0);
  PanelControls& c = dlg_.controls();
  if (CVKRPullDownMenu* cabinet = c.pullDown(1117)) cabinet->SetSelection(0);
  dlg_.sectionState().rememberedItem = {};
  for (PanelSection s : kSections) {
    const panel::SectionControls* sc = panel::sectionControls(s);
    if (CCustomButton* sw = c.button(sc->switchId)) {
      sw->SetState(0);
      sw->update();
    }
    if (CVKRPullDownMenu* pd = c.pullDown(sc->pullDownId)) pd->SetSelection(0);
    setSectionEnabled(s, false);
  }
}

}  // namespace orv
