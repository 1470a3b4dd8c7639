#include "controls/VKRControl.h"

#include <utility>

#include "controls/AccessibleEvents.h"
#include "controls/VKRControlListener.h"

namespace orv {

CVKRControl::CVKRControl(QWidget* parent) : QWidget(parent) {}

CVKRControl::~CVKRControl() = default;

void CVKRControl::SetValue(int v) {
  const int before = m_value;
  if (v <= m_min) {
    m_value = m_min;
  } else if (v > m_max) {
    m_value = m_max;
  } else {
    m_value = v;
  }
  if (m_value != before) AccessibleEvents::ValueChanged(this, m_value);
}

void CVKRControl::SetRange(int min, int max) {
  if (min > max) std::swap(min, max);
  m_min = min;
  m_max = max;
}

void CVKRControl::Place(const QRect& rect) {
  setGeometry(rect);
  m_rect = rect;
}

QRegion CVKRControl::RepaintArea() const {
  return QRegion(m_rect, m_elliptic ? QRegion::Ellipse : QRegion::Rectangle);
}

void CVKRControl::InvalidateArea() {
  window()->update(RepaintArea());
}

void CVKRControl::paintEvent(QPaintEvent*) {}

bool CVKRControl::ShownOnWindow() const {
  if (isWindow()) return !isHidden();
  return isVisibleTo(window());
}

void CVKRControl::InvalidateWindowUnder() {
  QWidget* top = window();
  if (top == this) {
    update();
    return;
  }
  top->update(QRect(mapTo(top, QPoint(0, 0)), size()));
}

void CVKRControl::NotifyListener(int value) {
  if (m_listener) m_listener->OnControlChanged(m_id, value);
}

}  // namespace orv
