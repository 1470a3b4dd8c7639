#include "controls/AccessibleItem.h"

#include "controls/AccessibleGate.h"
#include "controls/VKRListBox.h"
#include "controls/VKRPullDownMenu.h"

namespace orv {

namespace {
CVKRListBox* AsList(QWidget* w) {
  return qobject_cast<CVKRListBox*>(w);
}
CVKRPullDownMenu* AsPullDown(QWidget* w) {
  return qobject_cast<CVKRPullDownMenu*>(w);
}
}  // namespace

AccessibleItem::AccessibleItem(QWidget* owner, int index) : m_owner(owner), m_index(index) {}

int AccessibleItem::OwnerCount() const {
  if (CVKRListBox* list = AsList(m_owner)) return list->GetCount();
  if (CVKRPullDownMenu* pd = AsPullDown(m_owner)) return pd->GetCount();
  return 0;
}

int AccessibleItem::OwnerCurrent() const {
  if (CVKRListBox* list = AsList(m_owner)) return list->GetCurSel();
  if (CVKRPullDownMenu* pd = AsPullDown(m_owner)) return pd->GetSelection();
  return -1;
}

bool AccessibleItem::isValid() const {
  return m_owner && m_index >= 0 && m_index < OwnerCount();
}

QObject* AccessibleItem::object() const {
  return nullptr;
}

QWindow* AccessibleItem::window() const {
  return m_owner ? m_owner->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessibleItem::parent() const {
  return m_owner ? QAccessible::queryAccessibleInterface(m_owner) : nullptr;
}

QAccessibleInterface* AccessibleItem::child(int) const {
  return nullptr;
}

int AccessibleItem::childCount() const {
  return 0;
}

int AccessibleItem::indexOfChild(const QAccessibleInterface*) const {
  return -1;
}

QAccessibleInterface* AccessibleItem::childAt(int, int) const {
  return nullptr;
}

QString AccessibleItem::text(QAccessible::Text t) const {
  if (t != QAccessible::Name || !isValid()) return QString();
  if (CVKRListBox* list = AsList(m_owner)) return list->GetText(m_index);
  return AsPullDown(m_owner)->GetItems().value(m_index);
}

void AccessibleItem::setText(QAccessible::Text, const QString&) {}

QRect AccessibleItem::rect() const {
  CVKRListBox* list = AsList(m_owner);
  if (!list || !isValid()) return QRect();
  const QRect row = list->ItemRect(m_index).intersected(list->rect());
  if (row.isEmpty()) return QRect();
  return QRect(list->mapToGlobal(row.topLeft()), row.size());
}

QAccessible::Role AccessibleItem::role() const {
  return QAccessible::ListItem;
}

QAccessible::State AccessibleItem::state() const {
  QAccessible::State s;
  if (!isValid()) {
    s.invalid = true;
    return s;
  }
  s.selectable = true;
  s.selected = m_index == OwnerCurrent();
  s.disabled = !m_owner->isEnabled();
  if (CVKRListBox* list = AsList(m_owner)) {
    s.focusable = true;
    s.focused = s.selected && list->hasFocus();
    s.offscreen = rect().isEmpty();
    s.invisible = !list->isVisible();
  } else {
    s.offscreen = true;  // the entries show only in the open popup
  }
  return s;
}

void* AccessibleItem::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
  return nullptr;
}

QStringList AccessibleItem::actionNames() const {
  if (!isValid() || !AccessibleGate::Allows(m_owner)) return {};
  QStringList names{pressAction()};
  if (CVKRListBox* list = AsList(m_owner)) names << list->ContextActions();
  return names;
}

void AccessibleItem::doAction(const QString& name) {
  if (!actionNames().contains(name)) return;
  // A pick may ask a question (save before loading): it runs once the tool's call has returned.
  AccessibleGate::Post(m_owner, [owner = m_owner, index = m_index, name] {
    CVKRListBox* list = AsList(owner);
    if (name != pressAction()) {
      list->RunContextAction(index, name);
    } else if (list) {
      list->PickRow(index);
    } else {
      AsPullDown(owner)->Choose(index);
    }
  });
}

QStringList AccessibleItem::keyBindingsForAction(const QString&) const {
  return {};
}

}  // namespace orv
