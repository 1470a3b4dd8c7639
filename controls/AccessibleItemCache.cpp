#include "controls/AccessibleItemCache.h"

#include "controls/AccessibleItem.h"

namespace orv {

AccessibleItemCache::~AccessibleItemCache() {
  for (QAccessible::Id id : std::as_const(m_ids)) QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* AccessibleItemCache::Item(QWidget* owner, int index, int count) {
  if (index < 0 || index >= count) return nullptr;
  if (const auto found = m_ids.constFind(index); found != m_ids.constEnd())
    return QAccessible::accessibleInterface(*found);
  auto* item = new AccessibleItem(owner, index);
  m_ids.insert(index, QAccessible::registerAccessibleInterface(item));
  return item;
}

int AccessibleItemCache::IndexOf(const QWidget* owner, const QAccessibleInterface* item) {
  const auto* mine = dynamic_cast<const AccessibleItem*>(item);
  return mine && mine->Owner() == owner && mine->isValid() ? mine->Index() : -1;
}

}  // namespace orv
