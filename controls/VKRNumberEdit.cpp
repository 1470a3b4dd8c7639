#include "controls/VKRNumberEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "controls/Colors.h"
#include "controls/VKRNumberEditText.h"

namespace orv {

namespace {
constexpr int kEntryPixelHeight = 11;
}

CVKRNumberEdit::CVKRNumberEdit(CVKRNumberEditText* display)
    : QLineEdit(display), m_display(display) {
  setFrame(false);
  setTextMargins(0, 0, 0, 0);
  setAlignment(Qt::AlignCenter);
  setMaxLength(CVKRNumberEditText::kMaxTypedLength);
  setContextMenuPolicy(Qt::NoContextMenu);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Qt::black);
  pal.setColor(QPalette::Text, kAmber);
  setPalette(pal);
  QFont f(QStringLiteral("Arial Regular"));
  f.setPixelSize(kEntryPixelHeight);
  setFont(f);
}

CVKRNumberEdit::~CVKRNumberEdit() = default;

void CVKRNumberEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      CommitByEnter();
      event->accept();
      return;
    case Qt::Key_Escape:
      Cancel();
      event->accept();
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void CVKRNumberEdit::CommitByEnter() {
  if (!m_display->StoreText(text(), m_parseId)) {
    Cancel();  // not a number: the value stays and nothing is reported
    return;
  }
  m_display->setFocus(Qt::OtherFocusReason);
  // Without an active window no focus event arrives; the focus has moved all the same.
  if (!isHidden()) FocusLost();
  m_display->NotifyListener();
}

void CVKRNumberEdit::Cancel() {
  m_cancelled = true;
  hide();
  m_display->setFocus(Qt::OtherFocusReason);
  m_cancelled = false;
  m_display->update();
}

void CVKRNumberEdit::Discard() {
  if (isHidden()) return;
  m_cancelled = true;
  hide();
  m_cancelled = false;
  m_display->update();
}

void CVKRNumberEdit::FocusLost() {
  if (!m_cancelled) {
    hide();
    if (m_display->StoreText(text(), m_parseId)) m_display->NotifyListener();
  }
  m_cancelled = false;
}

void CVKRNumberEdit::focusOutEvent(QFocusEvent* event) {
  // A popup taking the focus for a moment does not close the entry. A window that is closing
  // (or being destroyed) takes the typed text with it: its listener may be gone already. So
  // does a display that is grayed or hidden (a patch refreshing the panel): the typed text
  // belongs to a value that is no longer shown.
  const bool closing = window()->isHidden();
  if (event->reason() != Qt::PopupFocusReason && !isHidden()) {
    if (!isEnabled() || !isVisible()) {
      Discard();
    } else {
      if (closing) m_cancelled = true;
      FocusLost();
    }
  }
  QLineEdit::focusOutEvent(event);
}

}  // namespace orv
