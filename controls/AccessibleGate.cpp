#include "controls/AccessibleGate.h"

#include <QApplication>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace orv {

namespace {
constexpr char kLocked[] = "orvLocked";
}

bool AccessibleGate::Allows(const QWidget* control) {
  if (!control || !control->isEnabled() || IsLocked(control)) return false;
  const QWidget* window = control->window();
  if (!control->isVisibleTo(window)) return false;
  const QWidget* modal = QApplication::activeModalWidget();
  return !modal || modal == window;
}

void AccessibleGate::SetLocked(QWidget* control, bool locked) {
  control->setProperty(kLocked, locked ? QVariant(true) : QVariant());
}

bool AccessibleGate::IsLocked(const QWidget* control) {
  for (const QWidget* w = control; w; w = w->isWindow() ? nullptr : w->parentWidget())
    if (w->property(kLocked).toBool()) return true;
  return false;
}

void AccessibleGate::Post(QWidget* control, std::function<void()> action) {
  QTimer::singleShot(0, control, [control, action = std::move(action)] {
    if (Allows(control)) action();
  });
}

}  // namespace orv
