#include "controls/AccessibleScrollBar.h"

#include "controls/AccessibleGate.h"
#include "controls/AccessibleValue.h"
#include "controls/VKRScrollBar.h"

namespace orv {

AccessibleScrollBar::AccessibleScrollBar(CVKRScrollBar* bar)
    : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

CVKRScrollBar* AccessibleScrollBar::bar() const {
  return static_cast<CVKRScrollBar*>(widget());
}

void* AccessibleScrollBar::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString AccessibleScrollBar::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return widget()->accessibleName();
  if (t == QAccessible::Value) return QString::number(bar()->GetValue());
  return QAccessibleWidget::text(t);
}

QVariant AccessibleScrollBar::currentValue() const {
  return bar()->GetValue();
}

void AccessibleScrollBar::setCurrentValue(const QVariant& value) {
  const std::optional<int> v = AccessibleValue::WholeNumber(value);
  if (v && AccessibleGate::Allows(widget())) bar()->ProposeByUser(*v);
}

QVariant AccessibleScrollBar::maximumValue() const {
  return bar()->LastTopRow();
}

QVariant AccessibleScrollBar::minimumValue() const {
  return bar()->GetMin();
}

QVariant AccessibleScrollBar::minimumStepSize() const {
  return 1;
}

}  // namespace orv
