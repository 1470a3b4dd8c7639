#pragma once
// The item interfaces of one list or pull-down, made when first asked for.
#include <QAccessible>
#include <QHash>

class QWidget;

namespace orv {

// Each item interface is registered with the accessibility layer once and kept, so that an
// assistive client sees the same object for the same row every time; all go with the cache.
class AccessibleItemCache {
 public:
  AccessibleItemCache() = default;
  AccessibleItemCache(const AccessibleItemCache&) = delete;
  AccessibleItemCache& operator=(const AccessibleItemCache&) = delete;
  ~AccessibleItemCache();

  QAccessibleInterface* Item(QWidget* owner, int index, int count);
  // The index of `item` when it is one of `owner`'s items, else -1.
  static int IndexOf(const QWidget* owner, const QAccessibleInterface* item);

 private:
  QHash<int, QAccessible::Id> m_ids;
};

}  // namespace orv
