#pragma once
// Messages posted to the main window, with the numbers the rest of the program knows them by,
// and the event that carries them.
#include <QCoreApplication>
#include <QEvent>
#include <QtGlobal>

namespace orv {

// wParam = device event code, lParam = its value.
inline constexpr QEvent::Type WM_DEVICE_EVENT = static_cast<QEvent::Type>(0x8064);
// wParam = the pull-down's list kind, lParam = the chosen index.
inline constexpr QEvent::Type WM_PULLDOWN_CHANGED = static_cast<QEvent::Type>(0x0464);
// Posted by the library list's arrow buttons while held; both parameters 0.
inline constexpr QEvent::Type WM_LIST_SCROLL_DOWN = static_cast<QEvent::Type>(0x8065);
inline constexpr QEvent::Type WM_LIST_SCROLL_UP = static_cast<QEvent::Type>(0x8066);

// A posted window message: its number is the event type, with two parameters.
class WindowMessage : public QEvent {
 public:
  WindowMessage(QEvent::Type message, qintptr wParam, qintptr lParam)
      : QEvent(message), m_wParam(wParam), m_lParam(lParam) {}
  qintptr WParam() const { return m_wParam; }
  qintptr LParam() const { return m_lParam; }

 private:
  qintptr m_wParam;
  qintptr m_lParam;
};

// Queues the message for `target`; it is handled later on the target's thread.
inline void PostWindowMessage(QObject* target, QEvent::Type message, qintptr wParam,
                              qintptr lParam) {
  if (target) QCoreApplication::postEvent(target, new WindowMessage(message, wParam, lParam));
}

}  // namespace orv
