#include "controls/AccessibleDial.h"

#include "controls/AccessibleGate.h"
#include "controls/AccessibleValue.h"
#include "controls/VKRDial.h"

namespace orv {

AccessibleDial::AccessibleDial(CVKRDial* dial) : QAccessibleWidget(dial, QAccessible::Dial) {}

CVKRDial* AccessibleDial::dial() const {
  return static_cast<CVKRDial*>(widget());
}

void* AccessibleDial::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString AccessibleDial::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name:
      return widget()->accessibleName();
    case QAccessible::Value:
    case QAccessible::Description:
      return dial()->ValueText();
    default:
      return QAccessibleWidget::text(t);
  }
}

QStringList AccessibleDial::actionNames() const {
  QStringList names = QAccessibleWidget::actionNames();
  if (AccessibleGate::Allows(widget())) names << increaseAction() << decreaseAction();
  return names;
}

void AccessibleDial::doAction(const QString& name) {
  if (name == increaseAction() || name == decreaseAction()) {
    if (AccessibleGate::Allows(widget())) dial()->StepByKey(name == decreaseAction());
    return;
  }
  QAccessibleWidget::doAction(name);
}

QVariant AccessibleDial::currentValue() const {
  return dial()->GetValue();
}

void AccessibleDial::setCurrentValue(const QVariant& value) {
  const std::optional<int> v = AccessibleValue::WholeNumber(value);
  if (v && AccessibleGate::Allows(widget())) dial()->ChangeByUser(*v);
}

QVariant AccessibleDial::maximumValue() const {
  return dial()->GetMax();
}

QVariant AccessibleDial::minimumValue() const {
  return dial()->GetMin();
}

QVariant AccessibleDial::minimumStepSize() const {
  return 1;
}

}  // namespace orv
