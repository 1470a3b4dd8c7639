#include "controls/VKRPullDownMenu.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "controls/AccessibleEvents.h"
#include "controls/Colors.h"
#include "controls/FocusMark.h"
#include "controls/VKRMenu.h"
#include "controls/WheelNotches.h"
#include "controls/WindowEvents.h"

namespace orv {

namespace {
constexpr int kCaptionIndent = 5;
constexpr int kPopupRightEdge = 80;  // the popup's right edge, from the control's left edge
constexpr int kPopupTop = 5;
}  // namespace

CVKRPullDownMenu::CVKRPullDownMenu(QWidget* parent) : CCustomButton(parent) {
  SetToggleMode(0);
}

CVKRPullDownMenu::~CVKRPullDownMenu() {
  if (!m_menu) return;
  m_menu->disconnect(this);
  delete m_menu.data();
}

void CVKRPullDownMenu::FillItems() {
  m_items.clear();
  if (!m_source) return;
  for (std::string_view name : m_source(m_kind)) {
    if (m_items.size() == kMaxItems) break;
    m_items.push_back(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).left(kMaxItemLength));
  }
  if (m_current >= GetCount()) m_current = 0;
}

void CVKRPullDownMenu::SetSelection(int i) {
  if (i < 0 || i >= GetCount()) return;
  const bool changed = i != m_current || GetCaption() != m_items[i];
  m_current = i;
  SetCaption(m_items[i]);
  if (changed) AccessibleEvents::ValueChanged(this, i);
}

void CVKRPullDownMenu::SetItemFont(const std::optional<QFont>& font) {
  m_font = font;
  update();
}

QObject* CVKRPullDownMenu::Target() const {
  return m_target ? m_target : parentWidget();
}

void CVKRPullDownMenu::Choose(int index) {
  if (GetCount() == 0) return;  // nothing to choose from
  index = std::clamp(index, 0, GetCount() - 1);
  const bool changed = index != m_current || GetCaption() != m_items[index];
  m_current = index;
  SetCaption(m_items[index]);
  if (changed) AccessibleEvents::ValueChanged(this, index);
  PostWindowMessage(Target(), WM_PULLDOWN_CHANGED, m_kind, index);
}

void CVKRPullDownMenu::Next() {
  Choose(m_current + 1);
}

void CVKRPullDownMenu::Previous() {
  Choose(m_current - 1);
}

void CVKRPullDownMenu::OnCommand(int command) {
  const int index = command - kFirstCommand;
  if (index < 0 || index >= kMaxItems || index >= GetCount()) return;
  Choose(index);
}

void CVKRPullDownMenu::OpenPopup() {
  if (m_menu) return;
  auto* menu = new CVKRMenu(this);
  menu->SetItemFont(m_font);
  for (int i = 0; i < GetCount(); ++i) {
    const int command = kFirstCommand + i;
    QAction* action = menu->addAction(m_items[i]);
    connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
  }
  connect(menu, &QMenu::aboutToHide, this, [this, menu] {
    menu->deleteLater();
    SetCaptured(false);
    update();
  });
  m_menu = menu;
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  menu->popup(
      QPoint(origin.x() + kPopupRightEdge - menu->sizeHint().width(), origin.y() + kPopupTop));
}

QPoint CVKRPullDownMenu::CurrentCell() const {
  const Cells& cells = GetCells();
  if (!isEnabled()) return cells.normalOff;
  if (IsHovered() && !cells.hoverOn.isNull()) return cells.hoverOn;
  return IsCaptured() ? cells.pressedOn : cells.normalOn;
}

void CVKRPullDownMenu::DrawCaption(QPainter& painter) {
  if (m_font) painter.setFont(*m_font);
  painter.setPen(isEnabled() ? kAmber : kDarkBrown);
  painter.drawText(rect().adjusted(kCaptionIndent, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, GetCaption());
}

void CVKRPullDownMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawBackgroundPart(painter);
  DrawCell(painter, CurrentCell());
  DrawCaption(painter);
  if (FocusMark::Shown(*this)) FocusMark::Draw(painter, rect());
}

void CVKRPullDownMenu::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  if (rect().contains(event->position().toPoint())) {
    SetCaptured(true);
    update();
    OpenPopup();
  }
  setFocus(Qt::MouseFocusReason);
}

void CVKRPullDownMenu::wheelEvent(QWheelEvent* event) {
  const int notches = m_wheel.Take(*event);
  for (int i = 0; i < std::abs(notches); ++i) notches < 0 ? Next() : Previous();
  event->accept();
}

void CVKRPullDownMenu::keyPressEvent(QKeyEvent* event) {
  const bool altDown = event->key() == Qt::Key_Down && event->modifiers() & Qt::AltModifier;
  if ((event->key() == Qt::Key_Space && !event->isAutoRepeat()) || altDown) {
    if (isEnabled()) OpenPopup();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Up) {
    Previous();
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Down) {
    Next();
    event->accept();
    return;
  }
  CCustomButton::keyPressEvent(event);
}

void CVKRPullDownMenu::focusInEvent(QFocusEvent* event) {
  CCustomButton::focusInEvent(event);
  update();
}

void CVKRPullDownMenu::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();
  CCustomButton::changeEvent(event);
}

}  // namespace orv
