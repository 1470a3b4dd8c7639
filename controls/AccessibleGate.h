#pragma once
// What assistive tools may do to the skinned controls.
#include <functional>

class QWidget;

namespace orv {

// An assistive tool acts on a control only as a user could: not on one that is hidden in its
// window or disabled, not while it is locked, and not while another window is modal (a message
// box, a dialog). A press runs from the event loop, as Qt's own buttons do, so that the tool's
// call returns at once even when the press opens a box the tool then has to read.
class AccessibleGate {
 public:
  static bool Allows(const QWidget* control);
  // A locked control stays visible and enabled (it shows a sound, and reads as usual) but takes
  // no change: no assistive action here, and its window filters the mouse and keys it would get.
  static void SetLocked(QWidget* control, bool locked);
  // The control or one of the widgets it lies in is locked.
  static bool IsLocked(const QWidget* control);
  // Runs `action` once the event loop is back, if the control still allows it then.
  static void Post(QWidget* control, std::function<void()> action);
};

}  // namespace orv
