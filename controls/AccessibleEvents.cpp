#include "controls/AccessibleEvents.h"

#include <QAccessible>

namespace orv {

namespace {
AccessibleEvents::Observer g_observer = nullptr;
}

bool AccessibleEvents::Listening() {
  return g_observer || QAccessible::isActive();
}

AccessibleEvents::Observer AccessibleEvents::SetObserver(Observer observer) {
  const Observer previous = g_observer;
  g_observer = observer;
  return previous;
}

void AccessibleEvents::Deliver(QAccessibleEvent& event) {
  if (g_observer) g_observer(&event);
  if (QAccessible::isActive()) QAccessible::updateAccessibility(&event);
}

void AccessibleEvents::ValueChanged(QObject* control, int value) {
  if (!Listening()) return;
  QAccessibleValueChangeEvent event(control, value);
  Deliver(event);
}

void AccessibleEvents::CheckedChanged(QObject* control) {
  if (!Listening()) return;
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(control, changed);
  Deliver(event);
}

void AccessibleEvents::NameChanged(QObject* control, int child) {
  if (!Listening()) return;
  QAccessibleEvent event(control, QAccessible::NameChanged);
  event.setChild(child);
  Deliver(event);
}

void AccessibleEvents::SelectionChanged(QObject* control, int child) {
  if (!Listening()) return;
  QAccessibleEvent event(control,
                         child >= 0 ? QAccessible::Selection : QAccessible::SelectionRemove);
  event.setChild(child);
  Deliver(event);
}

}  // namespace orv
