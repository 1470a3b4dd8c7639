#pragma once
// The one "show and activate" of the widget test suites: keys and focus changes only reach a
// window that is shown and active.
#include <QTest>
#include <QWidget>

namespace orv::test {

// Shows `window`, makes it the active window and waits for that; true once it is active.
inline bool showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace orv::test
