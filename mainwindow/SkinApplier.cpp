#include "mainwindow/SkinApplier.h"

#include <QLabel>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/VKRScrollBar.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinImages.h"
#include "mainwindow/VKREditorDlg.h"
#include "skin/LayoutData.h"
#include "skin/ModelSkin.h"

namespace orv {

namespace {

constexpr int kFirstAmpName = 1087;
constexpr int kCabinet = 1117, kCabinetCaption = 1099, kGainCaption = 1100;

QRect pixels(int id) {
  const LayoutRect r = LayoutData::at(id).pixels;
  return QRect(r.x, r.y, r.width, r.height);
}

// Moves a control and its drawing rectangle to `r`.
void place(QWidget* w, const QRect& r) {
  if (auto* d = qobject_cast<CVKRControl*>(w))
    d->Place(r);
  else if (auto* e = qobject_cast<CVKRNumberEditText*>(w))
    e->Place(r);
  else if (w)
    w->setGeometry(r);
}

}  // namespace

void SkinApplier::ApplyModelSkin(char model) {
  model_ = model;
  applyAmpTypes();
  applyCabinetList();
  applyDelayLayout();
  applyImages();
  UpdateCaptions();
  dlg_.surface().update();
}

void SkinApplier::applyAmpTypes() {
  const ModelSkin& skin = ModelSkin::forModel(model_);
  PanelControls& c = dlg_.controls();
  for (int i = 5; i < 8; ++i)
    if (QWidget* name = c.widget(kFirstAmpName + i))
      name->setVisible(model_ >= '1' && model_ <= '3');
  for (int id : {1095, 1096, 1097})
    if (QWidget* cover = c.widget(id)) cover->setVisible(skin.coversUpperLabels);
  CVKRDial* knob = c.ampTypeKnob();
  if (!knob) return;
  knob->SetRange(0, skin.ampTypeMax());
  knob->SetEndAngle(skin.ampTypeCount == 8 ? 330 : 150);
  // A type the model does not have: as if the user had chosen the first one.
  if (knob->GetValue() > skin.ampTypeMax()) dlg_.OnControlChanged(knob->GetId(), 0);
}

void SkinApplier::applyCabinetList() {
  CVKRPullDownMenu* cabinet = dlg_.controls().pullDown(kCabinet);
  if (!cabinet) return;
  cabinet->SetListKind(ModelSkin::forModel(model_).cabinetListKind);
  cabinet->FillItems();
  cabinet->SetSelection(0);
  cabinet->update();
}

void SkinApplier::applyDelayLayout() {
  PanelControls& c = dlg_.controls();
  const bool cuts = ModelSkin::forModel(model_).delayHasCuts;
  for (int id : {1203, 1204, 1193, 1194})
    if (QWidget* w = c.widget(id)) w->setVisible(cuts);
  // Without the two cut knobs, Level takes the third column.
  place(c.widget(1205), cuts ? pixels(1205) : pixels(1203));
  place(c.widget(1195), cuts ? pixels(1195) : pixels(1193));
  place(c.widget(1215), cuts ? pixels(1215) : pixels(1213));
  dlg_.painter().setModelCode(model_);
}

void SkinApplier::applyImages() {
  const ModelSkin& skin = ModelSkin::forModel(model_);
  PanelControls& c = dlg_.controls();
  if (CVKRImage* caption = c.picture(kCabinetCaption))
    SkinImages::load(caption->Image(), skin.cabinetCaption);
  if (CCustomButton* indicator = c.connectionIndicator())
    SkinImages::load(indicator->Face(), skin.connectionIndicator);
  dlg_.setBackground(skin.background);
  for (int type = 0; type < 8; ++type) {
    CCustomButton* name = c.button(kFirstAmpName + type);
    const int width = skin.labelWidth(type);
    if (!name || width == 0) continue;
    SkinImages::load(name->Face(), skin.ampTypeLabels[size_t(type)]);
    name->SetCellSize(width, 14);
    const LayoutRect r = skin.labelRect(type);
    name->Place(QRect(r.x, r.y, r.width, r.height));
  }
  if (CVKRImage* ratio = c.picture(PanelControls::kRatioScale))
    SkinImages::load(ratio->Image(), skin.ratioScale);
  for (int id = 1019; id <= 1023; ++id)
    if (CCustomButton* sw = c.button(id)) SkinImages::load(sw->Face(), skin.sectionSwitch);
  if (CVKRListBox* list = c.libraryList()) {
    SkinImages::load(list->RowImage(), skin.listRow);
    list->update();
  }
  if (CVKRScrollBar* bar = c.scrollBar()) SkinImages::load(bar->BackImage(), skin.scrollTrack);
}

void SkinApplier::UpdateCaptions() {
  PanelControls& c = dlg_.controls();
  const CVKRDial* knob = c.ampTypeKnob();
  const int type = knob ? knob->GetValue() : 0;
  if (QWidget* gain = c.widget(kGainCaption)) gain->setVisible(model_ == '4' && type == 0);
  QWidget* cabinet = c.widget(kCabinet);
  QWidget* caption = c.widget(kCabinetCaption);
  if (!cabinet || !caption) return;
  if (!ModelSkin::forModel(model_).hasCabinet) {
    cabinet->hide();
    caption->hide();
    return;
  }
  int lit = -1;
  for (int i = 0; i < 8 && lit < 0; ++i)
    if (const CCustomButton* b = c.button(kFirstAmpName + i); b && b->GetState() == 1) lit = i;
  const bool cabinetShown = lit >= 0 && lit < 5;
  cabinet->setVisible(cabinetShown);
  caption->setVisible(!cabinetShown);
  dlg_.surface().update();
}

}  // namespace orv
