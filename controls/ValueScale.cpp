#include "controls/ValueScale.h"

#include <algorithm>
#include <cmath>

namespace orv {

ValueScale::ValueScale(int min, int max, bool logarithmic)
    : m_min(min), m_max(max), m_log(logarithmic && min > 0 && max > min) {}

float ValueScale::ToFraction(int value) const {
  if (m_max == m_min) return 0.0f;
  if (m_log) {
    const float lv = static_cast<float>(std::log10(static_cast<double>(std::max(value, 1))));
    const float lmin = static_cast<float>(std::log10(static_cast<double>(m_min)));
    const float lmax = static_cast<float>(std::log10(static_cast<double>(m_max)));
    return (lv - lmin) / (lmax - lmin);
  }
  return static_cast<float>(value - m_min) / static_cast<float>(m_max - m_min);
}

int ValueScale::FromFraction(float f) const {
  if (m_log) {
    const float lmin = static_cast<float>(std::log10(static_cast<double>(m_min)));
    const float lmax = static_cast<float>(std::log10(static_cast<double>(m_max)));
    const float exponent = lmin + (lmax - lmin) * f;
    return static_cast<int>(std::trunc(std::pow(10.0, static_cast<double>(exponent)) + 0.5));
  }
  return static_cast<int>(
      std::trunc(f * static_cast<float>(m_max - m_min) + static_cast<float>(m_min) + 0.5f));
}

int ValueScale::Clamp(int value) const {
  if (value <= m_min) return m_min;
  if (value > m_max) return m_max;
  return value;
}

int ValueScale::HundredRuleStep(int value, bool down) {
  if (down) {
    if (value < 100) return value - 1;
    if (value >= 110) return value - 10;
    return 99;
  }
  if (value < 99) return value + 1;
  if (value >= 100) return value + 10;
  return 100;
}

int ValueScale::RoundedStep(int range, int divisor) {
  return static_cast<int>(std::trunc(static_cast<double>(range) / divisor + 0.5));
}

}  // namespace orv
