#pragma once
// A passive picture as assistive tools see it.
#include <QAccessibleWidget>

namespace orv {

// Role Graphic, named by the widget's accessible name. A picture without a name is decoration
// (a plate covering part of the background) and reports itself invisible, so that assistive
// tools pass over it.
class AccessiblePicture : public QAccessibleWidget {
 public:
  explicit AccessiblePicture(QWidget* picture);

  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
};

}  // namespace orv
