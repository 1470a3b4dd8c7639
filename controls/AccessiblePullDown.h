#pragma once
// A pull-down as assistive tools see it.
#include <QAccessibleWidget>

#include "controls/AccessibleItemCache.h"

namespace orv {

class CVKRPullDownMenu;

// Role ComboBox, named after its section (the widget's accessible name), with the shown entry
// as its value and description, and one ListItem child per entry. The show-menu action opens the
// popup as a click does; an entry's press action chooses it as the popup does.
class AccessiblePullDown : public QAccessibleWidget {
 public:
  explicit AccessiblePullDown(CVKRPullDownMenu* pullDown);

  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QStringList actionNames() const override;
  void doAction(const QString& name) override;

 private:
  CVKRPullDownMenu* pullDown() const;

  mutable AccessibleItemCache m_items;
};

}  // namespace orv
