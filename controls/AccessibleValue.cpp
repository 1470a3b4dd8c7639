#include "controls/AccessibleValue.h"

#include <QtMath>

namespace orv {

std::optional<int> AccessibleValue::WholeNumber(const QVariant& value) {
  bool ok = false;
  const double v = value.toDouble(&ok);
  if (!ok || !(qAbs(v) < 1e9)) return std::nullopt;
  return qRound(v);
}

}  // namespace orv
