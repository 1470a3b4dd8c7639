#pragma once
// Notifications for assistive tools about the skinned controls.
class QAccessibleEvent;
class QObject;

namespace orv {

// Each call tells the accessibility layer of one change, and costs next to nothing while no
// assistive client is listening: the event is only built when someone listens. Besides the
// desktop's layer, one in-process observer may listen (a check that runs inside the program,
// where no assistive client connects); it hears the same events. User-interface thread only.
class AccessibleEvents {
 public:
  using Observer = void (*)(QAccessibleEvent* event);

  static bool Listening();
  // Replaces the in-process observer (nullptr: none); returns the previous one.
  static Observer SetObserver(Observer observer);

  static void ValueChanged(QObject* control, int value);
  // The checked state of a switch or an amplifier-type name.
  static void CheckedChanged(QObject* control);
  static void NameChanged(QObject* control, int child = -1);
  // `child` became the selected item of a list or pull-down (-1: nothing is selected).
  static void SelectionChanged(QObject* control, int child);

 private:
  static void Deliver(QAccessibleEvent& event);
};

}  // namespace orv
