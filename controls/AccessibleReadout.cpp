#include "controls/AccessibleReadout.h"

#include "controls/VKRNumberEditText.h"

namespace orv {

AccessibleReadout::AccessibleReadout(CVKRNumberEditText* display)
    : QAccessibleWidget(display, QAccessible::StaticText) {}

CVKRNumberEditText* AccessibleReadout::display() const {
  return static_cast<CVKRNumberEditText*>(widget());
}

QAccessible::Role AccessibleReadout::role() const {
  return display()->IsEntryOpen() ? QAccessible::EditableText : QAccessible::StaticText;
}

QString AccessibleReadout::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return widget()->accessibleName();
  if (t == QAccessible::Value || t == QAccessible::Description) return display()->DisplayText();
  return QAccessibleWidget::text(t);
}

}  // namespace orv
