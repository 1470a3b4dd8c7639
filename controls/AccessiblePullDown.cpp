#include "controls/AccessiblePullDown.h"

#include "controls/AccessibleGate.h"
#include "controls/VKRPullDownMenu.h"

namespace orv {

AccessiblePullDown::AccessiblePullDown(CVKRPullDownMenu* pullDown)
    : QAccessibleWidget(pullDown, QAccessible::ComboBox) {}

CVKRPullDownMenu* AccessiblePullDown::pullDown() const {
  return static_cast<CVKRPullDownMenu*>(widget());
}

QString AccessiblePullDown::text(QAccessible::Text t) const {
  if (t == QAccessible::Name) return widget()->accessibleName();
  if (t == QAccessible::Value || t == QAccessible::Description) return pullDown()->GetCaption();
  return QAccessibleWidget::text(t);
}

int AccessiblePullDown::childCount() const {
  return pullDown()->GetCount();
}

QAccessibleInterface* AccessiblePullDown::child(int index) const {
  return m_items.Item(pullDown(), index, pullDown()->GetCount());
}

int AccessiblePullDown::indexOfChild(const QAccessibleInterface* child) const {
  return AccessibleItemCache::IndexOf(pullDown(), child);
}

QStringList AccessiblePullDown::actionNames() const {
  QStringList names = QAccessibleWidget::actionNames();
  if (AccessibleGate::Allows(widget())) names.prepend(showMenuAction());
  return names;
}

void AccessiblePullDown::doAction(const QString& name) {
  if (name == showMenuAction()) {
    if (AccessibleGate::Allows(widget())) pullDown()->OpenPopup();
    return;
  }
  QAccessibleWidget::doAction(name);
}

}  // namespace orv
