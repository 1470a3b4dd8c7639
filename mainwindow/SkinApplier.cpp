#include "mainwindow/SkinApplier.h"

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelPainter.h"
#include "mainwindow/PanelSurface.h"
#include "mainwindow/SkinImages.h"
#include "mainwindow/VKREditorDlg.h"
#include "skin/ModelSkin.h"

namespace orv {

void SkinApplier::ApplyModelSkin(char model) {
  const ModelSkin& skin = ModelSkin::forModel(model);
  PanelControls& c = dlg_.controls();

  // Amplifier types: the knob's travel and the names the model has.
  if (CVKRDial* knob = c.ampTypeKnob()) {
    knob->SetRange(0, skin.ampTypeMax());
    knob->SetEndAngle(skin.ampTypeCount == 8 ? 330 : 150);
    if (knob->GetValue() > skin.ampTypeMax()) dlg_.OnControlChanged(knob->GetId(), 0);
  }
  for (int i = 5; i < 8; ++i)
    if (QWidget* name = c.widget(1087 + i)) name->setVisible(skin.ampTypeLabels[size_t(i)] != 0);
  for (int id : {1095, 1096, 1097})
    if (QWidget* cover = c.widget(id)) cover->setVisible(skin.coversUpperLabels);

  if (CCustomButton* indicator = c.connectionIndicator())
    SkinImages::load(indicator->Face(), skin.connectionIndicator);
  dlg_.setBackground(skin.background);
  dlg_.surface().update();
}

}  // namespace orv
