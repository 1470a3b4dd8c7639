#include "mainwindow/PanelAccessibility.h"

#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <limits>
#include <vector>

#include "controls/AccessibleFactory.h"
#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRNumberEditText.h"
#include "device/ControlRanges.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/SkinApplier.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/NameLists.h"

namespace orv {

namespace {

using panel::Section;

constexpr int kRatioKnob = 1144;

struct SectionNaming {
  Section section;
  int firstLabel;
  int labels;
  int switchId;
  int pullDownId;
};

constexpr SectionNaming kSections[] = {
    {Section::Compressor, 1151, 6, 1019, 1033}, {Section::Effect, 1181, 5, 1020, 1034},
    {Section::Delay, 1211, 5, 1021, 1035},      {Section::Reverb, 1241, 7, 1022, 1036},
    {Section::Gate, 1271, 2, 1023, 0},
};

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The section's title as the model's panel prints it.
QString titleOf(Section s, char model) {
  return fromView(panel::sectionTitle(s, model));
}

void setName(QWidget* w, const QString& name) {
  if (w && w->accessibleName() != name) w->setAccessibleName(name);
}

// A knob and its read-out share the name.
void nameKnob(PanelControls& c, int dialId, const QString& name) {
  setName(c.widget(dialId), name);
  setName(c.widget(dialId - panel::kEditToDial), name);
}

// The caption above a knob: the section's label nearest to it across. Where two labels share a
// place (model '3' moves the delay's Level caption over the High Cut one), the label of the
// knob's own column wins.
QString captionOver(PanelControls& c, const SectionNaming& s, const QWidget& knob, int position) {
  const int centre = knob.geometry().center().x();
  const auto distance = [&](const QLabel* label) {
    return std::abs(label->geometry().center().x() - centre);
  };
  const QLabel* best = position < s.labels ? c.label(s.firstLabel + position) : nullptr;
  for (int id = s.firstLabel; id < s.firstLabel + s.labels; ++id) {
    const QLabel* label = c.label(id);
    if (label && (!best || distance(label) < distance(best))) best = label;
  }
  return best ? best->text() : QString();
}

void nameAmpSection(PanelControls& c, char model) {
  const CVKRDial* knob = c.ampTypeKnob();
  const bool acoustic = model == '4';
  setName(c.widget(panel::kAmpTypeDial), fromView(panel::ampSelectorTitle(model)));
  // The acoustic panel prints "Blend" over the first knob and covers it with "Gain" for its
  // first type.
  const bool blend = acoustic && knob && knob->GetValue() != 0;
  const QString captions[] = {blend ? "Blend" : "Gain", "Master", "Bass", "Middle", "Treble"};
  for (int i = 0; i < 5; ++i) nameKnob(c, 1111 + i, captions[i]);
  for (int type = 0; type <= panel::kLastAmpTypeButton - panel::kFirstAmpTypeButton; ++type)
    setName(c.widget(panel::kFirstAmpTypeButton + type), fromView(ampModelName(model, type)));
  setName(c.widget(panel::kCabinetPullDown), "Cabinet");
}

void nameSection(PanelControls& c, const SectionNaming& s, char model) {
  const QString title = titleOf(s.section, model);
  setName(c.widget(s.switchId), title + " on");
  if (s.pullDownId) setName(c.widget(s.pullDownId), title);
  const panel::SectionControls* sc = panel::sectionControls(s.section);
  for (int pos = 0; pos < sc->positions; ++pos) {
    QWidget* knob = c.widget(sc->firstDial + pos);
    if (!knob) continue;
    QString caption = captionOver(c, s, *knob, pos);
    if (caption.isEmpty()) caption = title + " knob " + QString::number(pos + 1);
    nameKnob(c, sc->firstDial + pos, caption);
  }
}

void setKinds(PanelControls& c) {
  for (int id = panel::kFirstSwitch; id <= panel::kLastSwitch; ++id)
    if (CCustomButton* b = c.button(id)) b->SetKind(CCustomButton::Kind::Switch);
  for (int id = panel::kFirstAmpTypeButton; id <= panel::kLastAmpTypeButton; ++id)
    if (CCustomButton* b = c.button(id)) b->SetKind(CCustomButton::Kind::Choice);
  if (CCustomButton* b = c.connectionIndicator()) b->SetKind(CCustomButton::Kind::Indicator);
}

// What each knob's value reads as: its read-out's text, a type name, a ratio mark.
void setValueTexts(CVKREditorDlg& dlg) {
  PanelControls& c = dlg.controls();
  for (CVKRDial* dial : c.dials()) {
    const int id = dial->GetId();
    if (id == panel::kAmpTypeDial) {
      dial->SetValueTextSource(
          [&dlg](int v) { return fromView(ampModelName(dlg.skin().model(), v)); });
    } else if (id == kRatioKnob) {
      dial->SetValueTextSource([](int v) { return fromView(ratioMark(v)); });
    } else if (CVKRNumberEditText* display = c.display(id - panel::kEditToDial)) {
      dial->SetValueTextSource([display](int v) { return display->TextFor(v); });
    }
  }
}

void nameFixedControls(PanelControls& c) {
  setName(c.widget(PanelControls::kNameEdit), "Patch name");
  setName(c.widget(PanelControls::kLibraryList), "Library");
  setName(c.widget(PanelControls::kScrollBar), "Library scroll bar");
  setName(c.widget(PanelControls::kScrollUp), "Scroll up");
  setName(c.widget(PanelControls::kScrollDown), "Scroll down");
  setName(c.widget(PanelControls::kSaveToLibrary), "Save To Library");
  setName(c.widget(panel::kKneePullDown), "Knee");
}

}  // namespace

void PanelAccessibility::Install() {
  AccessibleFactory::Install();
}

void PanelAccessibility::SetUp(CVKREditorDlg& dlg) {
  setKinds(dlg.controls());
  setValueTexts(dlg);
  nameFixedControls(dlg.controls());
  NameControls(dlg);
  SetTabOrder(dlg);
}

void PanelAccessibility::NameControls(CVKREditorDlg& dlg) {
  PanelControls& c = dlg.controls();
  const char model = dlg.skin().model();
  nameAmpSection(c, model);
  for (const SectionNaming& s : kSections) nameSection(c, s, model);
}

void PanelAccessibility::SetTabOrder(CVKREditorDlg& dlg) {
  std::vector<int> order{PanelControls::kNameEdit};
  // The amplifier section: the left column of type names top to bottom, the type knob, the
  // right column, the five knobs, the cabinet.
  for (int id = 1091; id >= 1087; --id) order.push_back(id);
  order.push_back(panel::kAmpTypeDial);
  for (int id = 1092; id <= 1094; ++id) order.push_back(id);
  for (int id = 1111; id <= 1115; ++id) order.push_back(id);
  order.push_back(panel::kCabinetPullDown);
  for (const SectionNaming& s : kSections) {
    order.push_back(s.switchId);
    if (s.pullDownId) order.push_back(s.pullDownId);
    const panel::SectionControls* sc = panel::sectionControls(s.section);
    for (int pos = 0; pos < sc->positions; ++pos) {
      order.push_back(sc->firstDial + pos);
      // The compressor's knee sits between its Ratio and Output knobs.
      if (sc->firstDial + pos == kRatioKnob) order.push_back(panel::kKneePullDown);
    }
  }
  order.push_back(PanelControls::kLibraryList);
  order.push_back(PanelControls::kSaveToLibrary);

  PanelControls& c = dlg.controls();
  QWidget* previous = nullptr;
  for (int id : order) {
    QWidget* w = c.widget(id);
    if (!w) continue;
    w->setFocusPolicy(Qt::StrongFocus);
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  }
}

}  // namespace orv
