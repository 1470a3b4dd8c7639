#include "controls/VKRScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace orv {

CVKRScrollBar::CVKRScrollBar(QWidget* parent) : CVKRControl(parent) {
  setFocusPolicy(Qt::ClickFocus);
}

CVKRScrollBar::~CVKRScrollBar() = default;

void CVKRScrollBar::SetThumbOffset(int x, int y) {
  m_thumbOffsetX = x;
  m_thumbOffsetY = y;
}

int CVKRScrollBar::ThumbHeightFor(int clientHeight, int rows) {
  if (clientHeight <= 0) return 0;
  const int pages = rows * kRowHeight / clientHeight;
  return pages > 0 ? clientHeight / pages : clientHeight;
}

void CVKRScrollBar::UpdateThumbHeight() {
  m_thumbHeight = ThumbHeightFor(height(), m_max);
}

int CVKRScrollBar::ThumbTop() const {
  const int travelRows = m_max - kVisibleRows;
  if (travelRows <= 0) return 0;
  const float perRow = static_cast<float>(height() - m_thumbHeight / 2) / travelRows;
  const int top = static_cast<int>(std::trunc(perRow * static_cast<float>(m_value)));
  return std::clamp(top, 0, std::max(height() - m_thumbHeight, 0));
}

QRect CVKRScrollBar::GetThumbRect() const {
  if (m_orientation != 1) return QRect();
  return QRect(m_thumbOffsetX, ThumbTop() + m_thumbOffsetY, m_thumbWidth, m_thumbHeight);
}

int CVKRScrollBar::PageProposal(const QPoint& point) const {
  if (point.x() < 0 || point.x() >= width()) return 0;
  const QRect thumb = GetThumbRect();
  if (point.y() < thumb.top() && point.y() >= 0) return std::max(m_value - 10, m_min);
  if (point.y() > thumb.bottom() && point.y() < height()) return std::min(m_value + 10, m_max);
  return 0;
}

int CVKRScrollBar::DragValue(const QPoint& point) const {
  const bool vertical = m_orientation == 1;
  const int extent = vertical ? m_rect.height() : m_rect.width();
  const int along = vertical ? point.y() : point.x();
  float f = extent > 0 ? static_cast<float>(along) / static_cast<float>(extent) : 0.0f;
  f = std::clamp(f, 0.0f, 1.0f);
  const int v = static_cast<int>(std::trunc(static_cast<float>(m_max - kVisibleRows) * f));
  if (v <= m_min) return m_min;
  return v > m_max ? m_max : v;
}

void CVKRScrollBar::DrawOnto(QPainter& painter) const {
  if (!ShownOnWindow()) return;
  m_backImage.DrawPart(painter, m_rect.topLeft(), QRect(0, 1, m_thumbWidth, m_rect.height()));
  if (m_orientation != 1 || m_thumbHeight <= 0) return;
  m_image.DrawScaled(
      painter, QRect(m_rect.left() + m_thumbOffsetX, m_rect.top() + ThumbTop() + m_thumbOffsetY,
                     m_thumbWidth, m_thumbHeight));
}

int CVKRScrollBar::LastTopRow() const {
  return std::max(m_max - kVisibleRows, m_min);
}

void CVKRScrollBar::ProposeByUser(int v) {
  if (!isEnabled()) return;
  NotifyListener(std::clamp(v, m_min, LastTopRow()));
}

void CVKRScrollBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const QPoint p = event->position().toPoint();
  const QRect thumb = GetThumbRect();
  // Level with the thumb counts as on it, across the bar's whole width.
  const bool onThumb = !thumb.isEmpty() && p.y() >= thumb.top() && p.y() <= thumb.bottom();
  if (!onThumb) NotifyListener(PageProposal(p));
  setFocus(Qt::MouseFocusReason);
  m_dragging = true;
}

void CVKRScrollBar::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  SetValue(DragValue(event->position().toPoint()));
  NotifyListener(m_value);
}

void CVKRScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

void CVKRScrollBar::wheelEvent(QWheelEvent* event) {
  const int notches = m_wheel.Take(*event);
  for (int i = 0; i < std::abs(notches); ++i) {
    const int proposal = notches < 0 ? std::min(m_value + 1, m_max) : std::max(m_value - 1, m_min);
    NotifyListener(proposal);
  }
  event->accept();
}

void CVKRScrollBar::hideEvent(QHideEvent* event) {
  m_dragging = false;
  CVKRControl::hideEvent(event);
}

void CVKRScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

}  // namespace orv
