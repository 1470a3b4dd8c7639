#include "controls/WheelNotches.h"

#include <QWheelEvent>

namespace orv {

int WheelNotches::Take(const QWheelEvent& event) {
  constexpr int kNotch = 120;
  const int delta = event.angleDelta().y();
  if (delta == 0) return 0;
  if ((delta > 0) != (m_rest > 0) && m_rest != 0) m_rest = 0;
  m_rest += delta;
  const int notches = m_rest / kNotch;
  m_rest -= notches * kNotch;
  return notches;
}

}  // namespace orv
