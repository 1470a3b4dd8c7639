#pragma once
// The skinned buttons as assistive tools see them.
#include <QAccessibleWidget>

namespace orv {

class CCustomButton;

// The role follows the button's kind: Button, CheckBox (section switches), RadioButton (the
// amplifier-type names) or StaticText (the connection indicator, named "Connected" or "Not
// connected" after its state). Every kind but the indicator has a press action that clicks the
// button as the mouse does; switches and names report their checked state.
class AccessibleButton : public QAccessibleWidget {
 public:
  explicit AccessibleButton(CCustomButton* button);

  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text t) const override;
  QStringList actionNames() const override;
  void doAction(const QString& name) override;

 private:
  CCustomButton* button() const;
  bool pressable() const;
};

}  // namespace orv
