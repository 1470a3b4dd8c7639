#include "mainwindow/SkinApplier.h"

#include <QLabel>
#include <QWidget>

#include "controls/CustomButton.h"
#include "controls/VKRControl.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "device/ControlRanges.h"
#include "device/DeviceLink.h"
#include "mainwindow/PanelAccessibility.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinImages.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/PatchData.h"
#include "skin/LayoutData.h"
#include "skin/ModelSkin.h"

namespace orv {

namespace {

constexpr int kAmpTypeNames = 8;
// Types 5..7: named only on models with eight types, and played without a cabinet.
constexpr int kFirstUpperType = 5;
constexpr int kNameCellHeight = 14;
constexpr int kFullTravel = 330;   // end angle of the knob with eight types
constexpr int kShortTravel = 150;  // with five
constexpr int kFirstCover = 1095, kLastCover = 1097;
constexpr int kCabinetCaption = 1099;
constexpr int kGainCaption = 1100;

// The delay's High Cut and Low Cut knob, display and label columns, and its Level column.
constexpr int kHighCutDial = 1203, kLowCutDial = 1204, kLevelDial = 1205;
constexpr int kHighCutEdit = 1193, kLowCutEdit = 1194, kLevelEdit = 1195;
constexpr int kHighCutLabel = 1213, kLowCutLabel = 1214, kLevelLabel = 1215;

QRect layoutRect(int id) {
  const ControlLayout* l = LayoutData::find(id);
  return l ? QRect(l->pixels.x, l->pixels.y, l->pixels.width, l->pixels.height) : QRect();
}

}  // namespace

PanelControls& SkinApplier::controls() {
  return dlg_.controls();
}

void SkinApplier::ApplyModelSkin(char model) {
  model_ = model;
  const ModelSkin& skin = ModelSkin::forModel(model);
  applyAmpTypes(skin);
  applyCabinetList(skin);
  applyDelayLayout(skin);
  applyImages(skin);
  dlg_.painter().setModelCode(model);
  AmpTypeShown();
  dlg_.surface().update();
}

void SkinApplier::AmpTypeShown() {
  showGainCaption();
  showCabinetOrCaption();
  PanelAccessibility::NameControls(dlg_);
}

// ---------------------------------------------------------------------------------------------

void SkinApplier::applyAmpTypes(const ModelSkin& skin) {
  const bool eightTypes = skin.ampTypeCount == kAmpTypeNames;
  for (int type = kFirstUpperType; type < kAmpTypeNames; ++type)
    setShown(panel::kFirstAmpTypeButton + type, eightTypes);
  for (int id = kFirstCover; id <= kLastCover; ++id) setShown(id, skin.coversUpperLabels);

  CVKRDial* knob = controls().ampTypeKnob();
  if (!knob) return;
  knob->SetRange(0, skin.ampTypeMax());
  knob->SetEndAngle(eightTypes ? kFullTravel : kShortTravel);
  dlg_.surface().update(knob->RepaintArea());
  // The knob keeps its value when its range narrows; the type it can no longer show is replaced
  // by type 0 as a gesture would, so that the patch and the amplifier follow.
  if (knob->GetValue() > skin.ampTypeMax()) dlg_.OnControlChanged(knob->GetId(), 0);
}

void SkinApplier::applyCabinetList(const ModelSkin& skin) {
  CVKRPullDownMenu* cabinet = controls().pullDown(panel::kCabinetPullDown);
  if (!cabinet) return;
  cabinet->SetListKind(skin.cabinetListKind);
  cabinet->FillItems();
  cabinet->SetSelection(0);
  // The patch keeps its cabinet when the list changes; show it when the new list has it, since
  // no refresh follows when the amplifier's patch equals the one shown.
  cabinet->SetSelection(DeviceLink::instance().mirror()[patch::kCabinet]);
  cabinet->update();
}

void SkinApplier::applyDelayLayout(const ModelSkin& skin) {
  const bool cuts = skin.delayHasCuts;
  for (int id : {kHighCutDial, kLowCutDial, kHighCutEdit, kLowCutEdit}) setShown(id, cuts);
  // Without the cut knobs the Level column takes the High Cut column's place; with them it sits
  // one column step (the knobs' step from High Cut to Low Cut) right of the Low Cut column.
  const int step = layoutRect(kLowCutDial).x() - layoutRect(kHighCutDial).x();
  const auto moved = [cuts, step](int id, int highCut, int lowCut) {
    const QPoint at =
        cuts ? layoutRect(lowCut).topLeft() + QPoint(step, 0) : layoutRect(highCut).topLeft();
    return QRect(at, layoutRect(id).size());
  };
  place(kLevelDial, moved(kLevelDial, kHighCutDial, kLowCutDial));
  place(kLevelEdit, moved(kLevelEdit, kHighCutEdit, kLowCutEdit));
  place(kLevelLabel, moved(kLevelLabel, kHighCutLabel, kLowCutLabel));
}

void SkinApplier::applyImages(const ModelSkin& skin) {
  PanelControls& c = controls();
  if (CVKRImage* caption = c.picture(kCabinetCaption))
    SkinImages::load(caption->Image(), skin.cabinetCaption);
  if (CCustomButton* indicator = c.connectionIndicator())
    SkinImages::load(indicator->Face(), skin.connectionIndicator);
  // The window's background and the part of it every knob, picture and button draws under
  // itself.
  dlg_.setBackground(skin.background);
  applyAmpTypeNames(skin);
  if (CVKRImage* ratio = c.picture(PanelControls::kRatioScale))
    SkinImages::load(ratio->Image(), skin.ratioScale);
  for (int id = panel::kFirstSwitch; id <= panel::kLastSwitch; ++id)
    if (CCustomButton* sw = c.button(id)) SkinImages::load(sw->Face(), skin.sectionSwitch);
  if (CVKRListBox* list = c.libraryList()) {
    SkinImages::load(list->RowImage(), skin.listRow);
    list->update();
  }
  if (CVKRScrollBar* bar = c.scrollBar()) SkinImages::load(bar->BackImage(), skin.scrollTrack);
}

void SkinApplier::applyAmpTypeNames(const ModelSkin& skin) {
  for (int type = 0; type < kAmpTypeNames; ++type) {
    const int image = skin.ampTypeLabels[static_cast<std::size_t>(type)];
    CCustomButton* name = controls().button(panel::kFirstAmpTypeButton + type);
    if (!name || image == 0) continue;  // a type the model does not have stays hidden
    SkinImages::load(name->Face(), image);
    name->SetCellSize(skin.labelWidth(type), kNameCellHeight);
    // Sized to the name's image: the left column keeps its right edge, the right column its
    // left edge.
    const LayoutRect r = skin.labelRect(type);
    const QRect before = name->geometry();
    name->Place(QRect(r.x, r.y, r.width, r.height));
    dlg_.surface().update(before);
  }
}

void SkinApplier::showGainCaption() {
  const CVKRDial* knob = controls().ampTypeKnob();
  setShown(kGainCaption, model_ == '4' && knob && knob->GetValue() == 0);
}

void SkinApplier::showCabinetOrCaption() {
  if (!ModelSkin::forModel(model_).hasCabinet) {
    setShown(panel::kCabinetPullDown, false);
    setShown(kCabinetCaption, false);
    return;
  }
  int litType = -1;
  for (int type = 0; type < kAmpTypeNames && litType < 0; ++type)
    if (const CCustomButton* name = controls().button(panel::kFirstAmpTypeButton + type))
      if (name->GetState() == 1) litType = type;
  const bool cabinet = litType >= 0 && litType < kFirstUpperType;
  setShown(panel::kCabinetPullDown, cabinet);
  setShown(kCabinetCaption, !cabinet);
}

// ---------------------------------------------------------------------------------------------

void SkinApplier::place(int id, const QRect& rect) {
  QWidget* w = controls().widget(id);
  if (!w || rect.isNull()) return;
  const QRect before = w->geometry();
  if (auto* control = qobject_cast<CVKRControl*>(w))
    control->Place(rect);
  else if (auto* display = qobject_cast<CVKRNumberEditText*>(w))
    display->Place(rect);
  else
    w->setGeometry(rect);
  dlg_.surface().update(before);
  dlg_.surface().update(rect);
}

void SkinApplier::setShown(int id, bool shown) {
  QWidget* w = controls().widget(id);
  if (!w || w->isHidden() != shown) return;
  w->setVisible(shown);
  dlg_.surface().update(w->geometry());  // pictures and knobs are drawn by the window
}

}  // namespace orv
