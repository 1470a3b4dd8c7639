#pragma once
// A knob's amber read-out as assistive tools see it.
#include <QAccessibleWidget>

namespace orv {

class CVKRNumberEditText;

// Role StaticText, EditableText while its inline entry is open; named after its knob (the
// widget's accessible name), with the shown text as its value and description.
class AccessibleReadout : public QAccessibleWidget {
 public:
  explicit AccessibleReadout(CVKRNumberEditText* display);

  QAccessible::Role role() const override;
  QString text(QAccessible::Text t) const override;

 private:
  CVKRNumberEditText* display() const;
};

}  // namespace orv
