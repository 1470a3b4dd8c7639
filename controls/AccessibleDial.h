#pragma once
// The knob as assistive tools see it.
#include <QAccessibleWidget>

namespace orv {

class CVKRDial;

// Role Dial, named after its caption on the panel (the widget's accessible name), valued in the
// knob's own units with the panel's text for the value as its value text and description.
// Setting the value, or the increase and decrease actions, act as a gesture on the knob does.
class AccessibleDial : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit AccessibleDial(CVKRDial* dial);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text t) const override;
  QStringList actionNames() const override;
  void doAction(const QString& name) override;

  QVariant currentValue() const override;
  void setCurrentValue(const QVariant& value) override;
  QVariant maximumValue() const override;
  QVariant minimumValue() const override;
  QVariant minimumStepSize() const override;

 private:
  CVKRDial* dial() const;
};

}  // namespace orv
