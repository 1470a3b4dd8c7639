#include "controls/AccessibleGate.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace orv {

bool AccessibleGate::Allows(const QWidget* control) {
  if (!control || !control->isEnabled()) return false;
  const QWidget* window = control->window();
  if (!control->isVisibleTo(window)) return false;
  const QWidget* modal = QApplication::activeModalWidget();
  return !modal || modal == window;
}

void AccessibleGate::Post(QWidget* control, std::function<void()> action) {
  QTimer::singleShot(0, control, [control, action = std::move(action)] {
    if (Allows(control)) action();
  });
}

}  // namespace orv
