#include "controls/VKRDial.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace orv {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr int kDeadZone = 30;        // degrees either side of straight down
constexpr int kFullTravelEnd = 330;  // beyond this the pointer pins the maximum
constexpr qreal kFocusOpacity = 0.7;
}  // namespace

CVKRDial::CVKRDial(QWidget* parent) : CVKRControl(parent) {
  m_min = 0;
  m_max = 255;
  setFocusPolicy(Qt::ClickFocus);
}

CVKRDial::~CVKRDial() = default;

void CVKRDial::SetFrameGeometry(int frameWidth, int frameHeight, int frameCount) {
  m_frameWidth = frameWidth;
  m_frameHeight = frameHeight;
  m_frameCount = frameCount;
}

ValueScale CVKRDial::Scale() const {
  return ValueScale(m_min, m_max, m_logScale);
}

int CVKRDial::FrameIndex() const {
  const float f = Scale().ToFraction(m_value);
  const int k = static_cast<int>(std::trunc(static_cast<float>(m_frameCount - 1) * f + 0.5f));
  return std::clamp(k, 0, std::max(m_frameCount - 1, 0));
}

void CVKRDial::DrawOnto(QPainter& painter) const {
  if (!ShownOnWindow() || m_image.IsEmpty()) return;
  const QRect source(0, FrameIndex() * m_frameHeight, m_rect.width(), m_rect.height());
  if (hasFocus()) {
    const qreal before = painter.opacity();
    painter.setOpacity(before * kFocusOpacity);
    m_image.DrawPart(painter, m_rect.topLeft(), source);
    painter.setOpacity(before);
    return;
  }
  m_image.DrawPart(painter, m_rect.topLeft(), source);
}

int CVKRDial::StepTarget(bool down, bool fast) const {
  const int v = m_value;
  const int r = m_max - m_min;
  const int sign = down ? -1 : 1;
  if (m_fine || m_stepped) return v + sign;
  if (r <= 100) {
    if (fast && r >= 50) return v + sign * ValueScale::RoundedStep(r, 50);
    return v + sign;
  }
  const ValueScale scale = Scale();
  if (scale.IsLogarithmic()) return scale.FromFraction(scale.ToFraction(v) + sign * 0.03f);
  if (fast) return v + sign * ValueScale::RoundedStep(r, 50);
  if (m_hundredRule) return ValueScale::HundredRuleStep(v, down);
  return v + sign * ValueScale::RoundedStep(r, 100);
}

void CVKRDial::Step(bool down, bool fast) {
  SetValue(StepTarget(down, fast));
}

void CVKRDial::ValueFromAngle(int x, int y) {
  const ValueScale scale = Scale();
  const float current = scale.ToFraction(m_value);
  const int dx = width() / 2 - x;
  const int dy = height() / 2 - y;
  const float radians = static_cast<float>(std::atan2(static_cast<double>(dx), dy));
  const int degrees = static_cast<int>(std::trunc(radians * 360 / kTwoPi));
  const int g = 180 - degrees;  // clockwise from straight down
  float f;
  if (g <= kDeadZone) {
    f = 0.0f;
  } else if (g >= kFullTravelEnd) {
    f = 1.0f;
  } else {
    const int travel = std::max(m_endAngle - kDeadZone, 1);
    f = static_cast<float>(g - kDeadZone) / static_cast<float>(travel);
  }
  // A knob resting at one end does not jump across the dead zone to the other end.
  if (m_dragging && ((current == 1.0f && f < 0.5f) || (current == 0.0f && f > 0.5f))) return;
  SetValue(scale.FromFraction(f));
}

void CVKRDial::ChangeByUser(int v) {
  if (!isEnabled()) return;  // as for the mouse: a disabled knob does not turn
  SetValue(v);
  NotifyListener(m_value);
}

void CVKRDial::StepByKey(bool down, int steps) {
  if (!isEnabled()) return;
  for (int i = 0; i < steps; ++i) Step(down, false);
  NotifyListener(m_value);
}

QString CVKRDial::ValueText() const {
  return m_valueText ? m_valueText(m_value) : QString::number(m_value);
}

void CVKRDial::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (m_knobMode != kLinear) {
    ValueFromAngle(event->position().toPoint().x(), event->position().toPoint().y());
    NotifyListener(m_value);
  }
  m_lastPoint = event->position().toPoint();
  setFocus(Qt::MouseFocusReason);
  m_dragging = true;
}

void CVKRDial::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const QPoint p = event->position().toPoint();
  if (m_knobMode != kLinear) {
    ValueFromAngle(p.x(), p.y());
  } else {
    Step(p.y() >= m_lastPoint.y(), true);
    m_lastPoint = p;
  }
  NotifyListener(m_value);
}

void CVKRDial::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

void CVKRDial::wheelEvent(QWheelEvent* event) {
  const int notches = m_wheel.Take(*event);
  for (int i = 0; i < std::abs(notches); ++i) {
    Step(notches < 0, false);
    NotifyListener(m_value);
  }
  event->accept();
}

void CVKRDial::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Shift:
      m_fine = true;
      event->ignore();
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      StepByKey(event->key() == Qt::Key_Down);
      event->accept();
      return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      StepByKey(event->key() == Qt::Key_PageDown, kPageSteps);
      event->accept();
      return;
    case Qt::Key_Home:
    case Qt::Key_End:
      ChangeByUser(event->key() == Qt::Key_Home ? GetMin() : GetMax());
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
      if (isEnabled()) emit EntryRequested();
      event->accept();
      return;
    default:
      CVKRControl::keyPressEvent(event);
  }
}

void CVKRDial::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) m_fine = false;
  event->ignore();
}

void CVKRDial::focusInEvent(QFocusEvent* event) {
  CVKRControl::focusInEvent(event);
  InvalidateWindowUnder();
}

void CVKRDial::focusOutEvent(QFocusEvent* event) {
  CVKRControl::focusOutEvent(event);
  // The Shift release goes to whoever has the focus then; do not stay in fine steps.
  m_fine = false;
  InvalidateWindowUnder();
}

void CVKRDial::hideEvent(QHideEvent* event) {
  m_dragging = false;
  CVKRControl::hideEvent(event);
}

void CVKRDial::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

}  // namespace orv
