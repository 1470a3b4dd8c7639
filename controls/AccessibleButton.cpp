#include "controls/AccessibleButton.h"

#include "controls/AccessibleGate.h"
#include "controls/CustomButton.h"

namespace orv {

using Kind = CCustomButton::Kind;

AccessibleButton::AccessibleButton(CCustomButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

CCustomButton* AccessibleButton::button() const {
  return static_cast<CCustomButton*>(widget());
}

bool AccessibleButton::pressable() const {
  return button()->GetKind() != Kind::Indicator && AccessibleGate::Allows(button());
}

QAccessible::Role AccessibleButton::role() const {
  switch (button()->GetKind()) {
    case Kind::Switch:
      return QAccessible::CheckBox;
    case Kind::Choice:
      return QAccessible::RadioButton;
    case Kind::Indicator:
      return QAccessible::StaticText;
    case Kind::Push:
      break;
  }
  return QAccessible::Button;
}

QAccessible::State AccessibleButton::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  const Kind kind = button()->GetKind();
  if (kind == Kind::Switch || kind == Kind::Choice) {
    s.checkable = true;
    s.checked = button()->GetState() == 1;
  }
  if (button()->isDown()) s.pressed = true;
  return s;
}

QString AccessibleButton::text(QAccessible::Text t) const {
  if (t != QAccessible::Name) return QAccessibleWidget::text(t);
  if (button()->GetKind() == Kind::Indicator)
    return button()->GetState() == 1 ? QStringLiteral("Connected")
                                     : QStringLiteral("Not connected");
  return widget()->accessibleName();
}

QStringList AccessibleButton::actionNames() const {
  QStringList names = QAccessibleWidget::actionNames();
  if (pressable()) names.prepend(pressAction());
  return names;
}

void AccessibleButton::doAction(const QString& name) {
  if (name == pressAction()) {
    if (pressable()) AccessibleGate::Post(button(), [b = button()] { b->Press(); });
    return;
  }
  QAccessibleWidget::doAction(name);
}

}  // namespace orv
