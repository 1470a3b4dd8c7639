#pragma once
// How a value range maps onto a knob's travel, and the stepping rules shared by the dials and
// the number displays.

namespace orv {

class ValueScale {
 public:
  ValueScale(int min, int max, bool logarithmic);

  // Position of `value` on the travel, 0 at the minimum and 1 at the maximum (single precision).
  // A logarithmic scale needs a positive minimum; otherwise the scale is linear. An empty range
  // sits at 0.
  float ToFraction(int value) const;
  // The value at fraction `f`, rounded half up; not clamped.
  int FromFraction(float f) const;

  bool IsLogarithmic() const { return m_log; }
  int Range() const { return m_max - m_min; }
  int Clamp(int value) const;

  // One step of the reverb-time rule: steps of 1 below 100 and of 10 from 100 up, passing
  // through 99 and 100 on the way.
  static int HundredRuleStep(int value, bool down);
  // Rounded step size trunc(range / divisor + 0.5).
  static int RoundedStep(int range, int divisor);

 private:
  int m_min;
  int m_max;
  bool m_log;
};

}  // namespace orv
