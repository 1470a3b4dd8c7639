#include "controls/VKRNumberEditText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "controls/AccessibleEvents.h"
#include "controls/Colors.h"
#include "controls/VKREditListener.h"
#include "controls/VKRNumberEdit.h"
#include "controls/ValueScale.h"

namespace orv {

namespace {
constexpr int kTextPixelHeight = 11;
constexpr int kEntryInset = 3;  // the entry leaves this much of the plate at top and bottom

std::optional<int> LeadingInteger(std::string_view text) {
  const std::string typed(text);
  char* end = nullptr;
  const long value = std::strtol(typed.c_str(), &end, 10);
  if (end == typed.c_str()) return std::nullopt;
  return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}
}  // namespace

CVKRNumberEditText::CVKRNumberEditText(QWidget* parent) : QWidget(parent) {
  m_font = QFont(QStringLiteral("Arial Regular"));
  m_font.setPixelSize(kTextPixelHeight);
  m_font.setWeight(QFont::Normal);
  setFocusPolicy(Qt::ClickFocus);
}

CVKRNumberEditText::~CVKRNumberEditText() {
  // The entry goes first, while this display can still take its focus-loss call.
  delete m_entry;
  m_entry = nullptr;
}

int CVKRNumberEditText::Clamp(int v) const {
  if (v <= m_min) return m_min;
  return v > m_max ? m_max : v;
}

void CVKRNumberEditText::SetValue(int v) {
  const int before = m_value;
  m_value = Clamp(v);
  if (m_value != before) AccessibleEvents::ValueChanged(this, m_value);
}

void CVKRNumberEditText::SetRange(int min, int max) {
  if (min > max) std::swap(min, max);
  m_min = min;
  m_max = max;
}

void CVKRNumberEditText::Place(const QRect& rect) {
  setGeometry(rect);
  m_rect = rect;
}

void CVKRNumberEditText::SetTextFont(const QFont& font) {
  m_font = font;
  update();
}

QString CVKRNumberEditText::DisplayText() const {
  return TextFor(m_value);
}

QString CVKRNumberEditText::TextFor(int value) const {
  if (m_formatter) return QString::fromStdString(m_formatter(m_formatId, value));
  return QString::number(value);
}

std::optional<int> CVKRNumberEditText::ValueFromText(const QString& text, int parseId) const {
  const std::string typed = text.left(kMaxTypedLength).toStdString();
  const std::optional<int> value = m_parser ? m_parser(parseId, typed) : LeadingInteger(typed);
  if (!value) return std::nullopt;
  return Clamp(*value);
}

int CVKRNumberEditText::StepTarget(bool down) const {
  const int v = m_value;
  const int r = m_max - m_min;
  const int sign = down ? -1 : 1;
  if (m_fine || r <= 100) return v + sign;
  const ValueScale scale(m_min, m_max, m_logScale);
  if (scale.IsLogarithmic()) return scale.FromFraction(scale.ToFraction(v) + sign * 0.01f);
  if (m_hundredRule) return ValueScale::HundredRuleStep(v, down);
  return v + sign * ValueScale::RoundedStep(r, 100);
}

void CVKRNumberEditText::Step(bool down) {
  SetValue(StepTarget(down));
  update();
}

bool CVKRNumberEditText::IsEntryOpen() const {
  return m_entry && !m_entry->isHidden();
}

void CVKRNumberEditText::OpenEntry() {
  if (!m_entry) {
    m_entry = new CVKRNumberEdit(this);
    m_entry->setGeometry(rect().adjusted(0, kEntryInset, 0, -kEntryInset));
  }
  m_entry->setAccessibleName(accessibleName());
  m_entry->show();
  update();
  m_entry->setText(DisplayText());
  m_entry->SetParseId(m_formatId);
  m_entry->setFocus(Qt::OtherFocusReason);
  m_entry->selectAll();
}

bool CVKRNumberEditText::StoreText(const QString& text, int parseId) {
  const std::optional<int> value = ValueFromText(text, parseId);
  if (value) SetValue(*value);
  update();
  return value.has_value();
}

void CVKRNumberEditText::NotifyListener() {
  if (m_listener) m_listener->OnEditChanged(m_id, m_value);
}

void CVKRNumberEditText::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_backImage.DrawPart(painter, QPoint(0, 0), rect());
  if (IsEntryOpen()) return;  // the entry covers the text
  painter.setFont(m_font);
  painter.setPen(isEnabled() ? kAmber : kDarkBrown);
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, DisplayText());
}

void CVKRNumberEditText::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  m_lastPoint = event->position().toPoint();
  setFocus(Qt::MouseFocusReason);
  m_dragging = true;
}

void CVKRNumberEditText::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  const QPoint p = event->position().toPoint();
  if (p.y() > m_lastPoint.y()) {
    Step(true);
  } else if (p.y() < m_lastPoint.y()) {
    Step(false);
  }
  m_lastPoint = p;
  NotifyListener();
}

void CVKRNumberEditText::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}

void CVKRNumberEditText::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OpenEntry();
}

void CVKRNumberEditText::wheelEvent(QWheelEvent* event) {
  const int notches = m_wheel.Take(*event);
  for (int i = 0; i < std::abs(notches); ++i) {
    Step(notches < 0);
    NotifyListener();
  }
  event->accept();
}

void CVKRNumberEditText::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    case Qt::Key_Shift:
      m_fine = true;
      event->ignore();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void CVKRNumberEditText::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) m_fine = false;
  event->ignore();
}

void CVKRNumberEditText::focusOutEvent(QFocusEvent* event) {
  m_fine = false;  // the Shift release goes elsewhere now
  QWidget::focusOutEvent(event);
}

void CVKRNumberEditText::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    // Grayed with the entry open (it need not have the focus): the typed text is dropped.
    if (!isEnabled() && m_entry) m_entry->Discard();
    update();
  }
  QWidget::changeEvent(event);
}

void CVKRNumberEditText::hideEvent(QHideEvent* event) {
  m_dragging = false;
  if (!event->spontaneous() && m_entry) m_entry->Discard();
  QWidget::hideEvent(event);
}

}  // namespace orv
