#pragma once
// The library list's scroll bar as assistive tools see it.
#include <QAccessibleWidget>

namespace orv {

class CVKRScrollBar;

// Role ScrollBar; its value is the list's top row, from 0 to the last top row the bar reaches.
// A value set through it is proposed to the owner as a page click proposes one.
class AccessibleScrollBar : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit AccessibleScrollBar(CVKRScrollBar* bar);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text t) const override;

  QVariant currentValue() const override;
  void setCurrentValue(const QVariant& value) override;
  QVariant maximumValue() const override;
  QVariant minimumValue() const override;
  QVariant minimumStepSize() const override;

 private:
  CVKRScrollBar* bar() const;
};

}  // namespace orv
