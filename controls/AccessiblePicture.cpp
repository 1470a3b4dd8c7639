#include "controls/AccessiblePicture.h"

#include <QWidget>

namespace orv {

AccessiblePicture::AccessiblePicture(QWidget* picture)
    : QAccessibleWidget(picture, QAccessible::Graphic) {}

QString AccessiblePicture::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return widget()->accessibleName();
  return QAccessibleWidget::text(t);
}

QAccessible::State AccessiblePicture::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  if (widget()->accessibleName().isEmpty()) s.invisible = true;
  return s;
}

}  // namespace orv
