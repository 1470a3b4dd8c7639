#include "controls/AccessibleListBox.h"

#include "controls/VKRListBox.h"

namespace orv {

AccessibleListBox::AccessibleListBox(CVKRListBox* list)
    : QAccessibleWidget(list, QAccessible::List) {}

CVKRListBox* AccessibleListBox::list() const {
  return static_cast<CVKRListBox*>(widget());
}

QString AccessibleListBox::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return widget()->accessibleName();
  if (t == QAccessible::Value) return list()->GetText(list()->GetCurSel());
  return QAccessibleWidget::text(t);
}

int AccessibleListBox::childCount() const {
  return list()->GetCount();
}

QAccessibleInterface* AccessibleListBox::child(int index) const {
  return m_items.Item(list(), index, list()->GetCount());
}

int AccessibleListBox::indexOfChild(const QAccessibleInterface* child) const {
  return AccessibleItemCache::IndexOf(list(), child);
}

QAccessibleInterface* AccessibleListBox::childAt(int x, int y) const {
  const QPoint local = list()->mapFromGlobal(QPoint(x, y));
  if (!list()->rect().contains(local)) return nullptr;
  return child(list()->ItemFromPoint(local));
}

QAccessibleInterface* AccessibleListBox::focusChild() const {
  if (!list()->hasFocus()) return nullptr;
  return child(list()->GetCurSel());
}

}  // namespace orv
