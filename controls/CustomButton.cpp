#include "controls/CustomButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/AccessibleEvents.h"
#include "controls/FocusMark.h"

namespace orv {

namespace {
constexpr int kCaptionPixelHeight = 11;
}

CCustomButton::CCustomButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
}

CCustomButton::~CCustomButton() = default;

void CCustomButton::Place(const QRect& rect) {
  setGeometry(rect);
  m_placement = rect;
}

void CCustomButton::SetCaption(const QString& caption) {
  m_caption = caption;  // kept apart from the button text: no mnemonic shortcuts
  update();
}

void CCustomButton::SetState(int state) {
  const int before = m_state;
  m_state = state ? 1 : 0;
  if (m_state == before) return;
  AccessibleEvents::CheckedChanged(this);
  if (m_kind == Kind::Indicator) AccessibleEvents::NameChanged(this);
}

void CCustomButton::Press() {
  if (!isEnabled()) return;
  if (m_toggleMode) {
    SetState(m_state ^ 1);
    update();
  }
  click();
}

void CCustomButton::SetCellSize(int width, int height) {
  m_cellWidth = width;
  m_cellHeight = height;
}

void CCustomButton::SetOverlaySize(int width, int height) {
  m_overlayWidth = width;
  m_overlayHeight = height;
}

bool CCustomButton::HasHoverFace() const {
  return !m_cells.hoverOn.isNull() && !m_cells.hoverOff.isNull();
}

QPoint CCustomButton::CurrentCell() const {
  if (isDown()) return m_state ? m_cells.pressedOn : m_cells.pressedOff;
  if (m_hovered && HasHoverFace()) return m_state ? m_cells.hoverOn : m_cells.hoverOff;
  return m_state ? m_cells.normalOn : m_cells.normalOff;
}

void CCustomButton::DrawBackgroundPart(QPainter& painter) const {
  m_background.DrawPart(painter, QPoint(0, 0), QRect(m_placement.topLeft(), m_placement.size()));
}

void CCustomButton::DrawCell(QPainter& painter, const QPoint& cell) const {
  m_face.DrawPart(painter, QPoint(0, 0), QRect(cell, size()));
}

void CCustomButton::DrawCaption(QPainter& painter) {
  if (m_caption.isEmpty()) return;
  QFont f = font();
  f.setPixelSize(kCaptionPixelHeight);
  painter.setFont(f);
  painter.setPen(Qt::white);
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
}

void CCustomButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawBackgroundPart(painter);
  DrawCell(painter, CurrentCell());
  DrawCaption(painter);
  if (m_overlayWidth > 0)
    m_overlay.DrawPart(painter, QPoint(0, 0), QRect(0, 0, m_overlayWidth, m_overlayHeight));
  if (FocusMark::Shown(*this)) FocusMark::Draw(painter, rect());
}

void CCustomButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_captured = true;
  QAbstractButton::mousePressEvent(event);
}

void CCustomButton::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
}

void CCustomButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    if (m_toggleMode && m_captured && rect().contains(event->position().toPoint())) {
      SetState(m_state ^ 1);
      update();
    }
    m_captured = false;
  }
  QAbstractButton::mouseReleaseEvent(event);
}

void CCustomButton::keyPressEvent(QKeyEvent* event) {
  // A held Space repeats its key-down; only the first one flips.
  if (event->key() == Qt::Key_Space && m_toggleMode && !event->isAutoRepeat()) {
    SetState(m_state ^ 1);
    update();
  }
  QAbstractButton::keyPressEvent(event);
}

void CCustomButton::enterEvent(QEnterEvent* event) {
  m_hovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void CCustomButton::leaveEvent(QEvent* event) {
  m_hovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void CCustomButton::hideEvent(QHideEvent* event) {
  m_captured = false;
  m_hovered = false;
  QAbstractButton::hideEvent(event);
}

}  // namespace orv
