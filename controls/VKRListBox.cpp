#include "controls/VKRListBox.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "controls/AccessibleEvents.h"
#include "controls/Colors.h"
#include "controls/FocusMark.h"

namespace orv {

namespace {
QString WithoutMnemonic(QString text) {
  return text.remove(QLatin1Char('&'));
}
}  // namespace

CVKRListBox::CVKRListBox(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  // The right button has its own handling; the parent offers no menu here either.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

CVKRListBox::~CVKRListBox() = default;

int CVKRListBox::AddString(const QString& text) {
  m_items.push_back(text);
  update();
  return GetCount() - 1;
}

void CVKRListBox::InsertString(int index, const QString& text) {
  index = std::clamp(index, 0, GetCount());
  m_items.insert(index, text);
  if (m_current >= index) ++m_current;
  update();
}

bool CVKRListBox::DeleteString(int index) {
  if (index < 0 || index >= GetCount()) return false;
  m_items.removeAt(index);
  if (m_current == index) {
    m_current = -1;
  } else if (m_current > index) {
    --m_current;
  }
  SetTop(std::min(m_top, MaxTopIndex()));
  update();
  return true;
}

bool CVKRListBox::SetString(int index, const QString& text) {
  if (index < 0 || index >= GetCount()) return false;
  m_items[index] = text;
  update();
  AccessibleEvents::NameChanged(this, index);
  return true;
}

void CVKRListBox::ResetContent() {
  m_items.clear();
  m_current = -1;
  SetTop(0);
  update();
}

QString CVKRListBox::GetText(int index) const {
  return index >= 0 && index < GetCount() ? m_items[index] : QString();
}

bool CVKRListBox::SetCurSel(int index) {
  if (index < -1 || index >= GetCount()) return false;
  const bool changed = index != m_current;
  m_current = index;
  update();
  if (changed) AccessibleEvents::SelectionChanged(this, index);
  return true;
}

bool CVKRListBox::PickRow(int index) {
  if (index < 0 || index >= GetCount()) return false;
  SetCurSel(index);
  EnsureVisible(index);
  emit SelectionChanged(index);
  return true;
}

QStringList CVKRListBox::ContextActions() const {
  QStringList names;
  if (!m_contextMenu) return names;
  for (const QAction* action : m_contextMenu->actions())
    if (!action->isSeparator() && action->isVisible()) names << WithoutMnemonic(action->text());
  return names;
}

bool CVKRListBox::RunContextAction(int index, const QString& name) {
  if (index < 0 || index >= GetCount() || !m_contextMenu) return false;
  for (QAction* action : m_contextMenu->actions()) {
    if (action->isSeparator() || WithoutMnemonic(action->text()) != name) continue;
    SetCurSel(index);
    // As when the menu opens: its owner brings the commands' enabling up to date first.
    emit m_contextMenu->aboutToShow();
    if (!action->isEnabled()) return false;
    action->trigger();
    return true;
  }
  return false;
}

int CVKRListBox::FullRows() const {
  return std::max(height() / kRowHeight, 1);
}

int CVKRListBox::MaxTopIndex() const {
  return std::max(GetCount() - FullRows(), 0);
}

bool CVKRListBox::SetTopIndex(int index) {
  if (index < 0 || index >= std::max(GetCount(), 1)) return false;
  SetTop(std::min(index, MaxTopIndex()));
  return true;
}

void CVKRListBox::SetTop(int top) {
  if (top == m_top) return;
  m_top = top;
  update();
  emit TopIndexChanged(m_top);
}

void CVKRListBox::EnsureVisible(int index) {
  if (index < m_top) {
    SetTop(index);
  } else if (index >= m_top + FullRows()) {
    SetTop(std::min(index - FullRows() + 1, MaxTopIndex()));
  }
}

QRect CVKRListBox::ItemRect(int index) const {
  return QRect(0, (index - m_top) * kRowHeight, width(), kRowHeight);
}

int CVKRListBox::ItemFromPoint(const QPoint& point) const {
  if (m_items.isEmpty()) return -1;
  const int row = point.y() < 0 ? 0 : point.y() / kRowHeight;
  return std::clamp(m_top + row, 0, GetCount() - 1);
}

bool CVKRListBox::RowShowsText(int index) const {
  return ItemRect(index).bottom() < height();
}

void CVKRListBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawRows(painter);
  // Over the rows, which would cover it.
  if (FocusMark::Shown(*this)) FocusMark::Draw(painter, rect());
}

void CVKRListBox::DrawRows(QPainter& painter) {
  if (m_items.isEmpty()) return;
  for (int i = m_top; i < GetCount(); ++i) {
    const QRect row = ItemRect(i);
    if (row.top() >= height()) break;
    m_rowImage.DrawPart(painter, row.topLeft(), QRect(0, 0, row.width(), row.height()));
    if (!RowShowsText(i)) continue;
    painter.setPen(i == m_current ? kAmber : QColor(Qt::white));
    painter.drawText(row.adjusted(kTextInset, 0, -kTextInset, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_items[i]);
  }
}

void CVKRListBox::SelectFromPointer(const QPoint& point) {
  if (m_items.isEmpty()) return;
  // Past the top or bottom edge the list scrolls one row towards the pointer, whose nearest
  // whole row is then selected.
  if (point.y() < 0) {
    if (m_top > 0) SetTop(m_top - 1);
    SetCurSel(m_top);
    return;
  }
  if (point.y() >= FullRows() * kRowHeight) {
    if (m_top < MaxTopIndex()) SetTop(m_top + 1);
    SetCurSel(std::min(m_top + FullRows() - 1, GetCount() - 1));
    return;
  }
  SetCurSel(ItemFromPoint(point));
}

void CVKRListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  setFocus(Qt::MouseFocusReason);
  m_tracking = true;
  if (m_items.isEmpty()) return;
  SetCurSel(ItemFromPoint(event->position().toPoint()));
  EnsureVisible(m_current);
}

void CVKRListBox::mouseMoveEvent(QMouseEvent* event) {
  if (m_tracking) SelectFromPointer(event->position().toPoint());
}

void CVKRListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (!m_items.isEmpty()) SetCurSel(ItemFromPoint(event->position().toPoint()));
    if (m_contextMenu) m_contextMenu->popup(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton || !m_tracking) return;
  m_tracking = false;
  if (m_current >= 0) emit SelectionChanged(m_current);
}

void CVKRListBox::wheelEvent(QWheelEvent* event) {
  const int notches = m_wheel.Take(*event);
  if (notches != 0) SetTop(std::clamp(m_top - notches, 0, MaxTopIndex()));
  event->accept();
}

void CVKRListBox::keyPressEvent(QKeyEvent* event) {
  if (m_items.isEmpty()) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int from = m_current < 0 ? m_top : m_current;
  int to;
  switch (event->key()) {
    case Qt::Key_Up:
      to = m_current < 0 ? from : from - 1;
      break;
    case Qt::Key_Down:
      to = m_current < 0 ? from : from + 1;
      break;
    case Qt::Key_PageUp:
      to = from - (FullRows() - 1);
      break;
    case Qt::Key_PageDown:
      to = from + (FullRows() - 1);
      break;
    case Qt::Key_Home:
      to = 0;
      break;
    case Qt::Key_End:
      to = GetCount() - 1;
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  to = std::clamp(to, 0, GetCount() - 1);
  event->accept();
  if (to == m_current) return;
  SetCurSel(to);
  EnsureVisible(to);
  emit SelectionChanged(to);
}

}  // namespace orv
