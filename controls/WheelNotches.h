#pragma once
// Turns wheel events into whole notches.

class QWheelEvent;

namespace orv {

// A mouse reports one notch as 120; finer wheels and touchpads report parts of it. Parts are
// collected until they make a notch; a turn in the other direction starts afresh, and events
// without vertical movement (sideways scrolling) give nothing.
class WheelNotches {
 public:
  // Notches in this event: positive away from the user (up), negative towards (down).
  int Take(const QWheelEvent& event);

 private:
  int m_rest = 0;
};

}  // namespace orv
