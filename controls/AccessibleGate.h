#pragma once
// What assistive tools may do to the skinned controls.
#include <functional>

class QWidget;

namespace orv {

// An assistive tool acts on a control only as a user could: not on one that is hidden in its
// window or disabled, and not while another window is modal (a message box, a dialog). A press
// runs from the event loop, as Qt's own buttons do, so that the tool's call returns at once even
// when the press opens a box the tool then has to read.
class AccessibleGate {
 public:
  static bool Allows(const QWidget* control);
  // Runs `action` once the event loop is back, if the control still allows it then.
  static void Post(QWidget* control, std::function<void()> action);
};

}  // namespace orv
