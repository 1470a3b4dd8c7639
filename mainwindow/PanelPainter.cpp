#include "mainwindow/PanelPainter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "controls/VKRDial.h"
#include "controls/VKRImage.h"
#include "controls/VKRScrollBar.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/SkinImages.h"

namespace orv {

namespace {

// Section label identifiers, as ranges.
constexpr std::pair<int, int> kLabelRanges[] = {
    {1151, 1156}, {1181, 1185}, {1211, 1215}, {1241, 1247}, {1271, 1272}};
constexpr int kDelayHighCutLabel = 1213, kDelayLowCutLabel = 1214;

}  // namespace

void PanelPainter::setBackground(int imageId) {
  backgroundId_ = imageId;
  background_ = SkinImages::get(imageId);
}

void PanelPainter::setCentredName(const QString& name) {
  name_ = name;
  nameCentred_ = true;
}

void PanelPainter::paint(QPainter& painter, const QRect& exposed) {
  if (background_.isNull())
    painter.fillRect(exposed, Qt::black);
  else
    painter.drawImage(exposed.topLeft(), background_, exposed);
  drawControls(painter, exposed);
  drawLabelTexts(painter, exposed);
  if (nameCentred_) drawName(painter);
}

// Only what lies in the exposed area is drawn: a knob turned repaints its own square.
void PanelPainter::drawControls(QPainter& painter, const QRect& exposed) const {
  auto drawDial = [&](int id) {
    if (const CVKRDial* d = controls_.dial(id); d && d->GetRect().intersects(exposed))
      d->DrawOnto(painter);
  };
  auto drawPicture = [&](int id) {
    if (const CVKRImage* p = controls_.picture(id); p && p->GetRect().intersects(exposed))
      p->DrawOnto(painter);
  };
  drawDial(PanelControls::kAmpTypeKnob);
  for (int id : {1095, 1096, 1097, 1099, 1100}) drawPicture(id);
  for (int id = 1111; id <= 1115; ++id) drawDial(id);
  drawPicture(PanelControls::kRatioScale);
  for (const auto& [first, last] :
       {std::pair{1141, 1145}, {1171, 1175}, {1201, 1205}, {1231, 1237}, {1261, 1262}})
    for (int id = first; id <= last; ++id) drawDial(id);
  if (const CVKRScrollBar* bar = controls_.scrollBar(); bar && bar->GetRect().intersects(exposed))
    bar->DrawOnto(painter);
}

void PanelPainter::drawLabelTexts(QPainter& painter, const QRect& exposed) const {
  painter.setFont(labelFont_);
  painter.setPen(Qt::white);
  for (const auto& [first, last] : kLabelRanges) {
    for (int id = first; id <= last; ++id) {
      if (model_ == '3' && (id == kDelayHighCutLabel || id == kDelayLowCutLabel)) continue;
      const QLabel* label = controls_.label(id);
      if (!label || label->text().isEmpty() || !label->geometry().intersects(exposed)) continue;
      painter.drawText(label->geometry(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip,
                       label->text());
    }
  }
}

void PanelPainter::drawName(QPainter& painter) const {
  const QLineEdit* edit = controls_.nameEdit();
  if (!edit) return;
  painter.setFont(nameFont_);
  painter.setPen(Qt::white);
  painter.drawText(edit->geometry(), Qt::AlignCenter | Qt::TextSingleLine, name_);
}

}  // namespace orv
