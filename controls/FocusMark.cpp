#include "controls/FocusMark.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

#include "controls/Colors.h"

namespace orv {

bool FocusMark::Shown(const QWidget& control) {
  return control.hasFocus() && control.window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void FocusMark::Draw(QPainter& painter, const QRect& area) {
  painter.save();
  QPen pen(kAmber);
  pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace orv
