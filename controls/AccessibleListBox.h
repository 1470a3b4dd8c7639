#pragma once
// The library list as assistive tools see it.
#include <QAccessibleWidget>

#include "controls/AccessibleItemCache.h"

namespace orv {

class CVKRListBox;

// Role List with one ListItem per row ("001 Empty"). The selected row is readable as the list's
// value and as the selected state of its row; a row's press action selects it as a click does.
class AccessibleListBox : public QAccessibleWidget {
 public:
  explicit AccessibleListBox(CVKRListBox* list);

  QString text(QAccessible::Text t) const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* focusChild() const override;

 private:
  CVKRListBox* list() const;

  mutable AccessibleItemCache m_items;
};

}  // namespace orv
