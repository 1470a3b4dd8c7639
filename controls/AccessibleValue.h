#pragma once
// A value an assistive tool sets on a control that counts in whole steps.
#include <QVariant>
#include <optional>

namespace orv {

class AccessibleValue {
 public:
  // `value` rounded to a whole number; nothing when it is not a number or lies beyond any
  // control's reach (so that rounding cannot overflow).
  static std::optional<int> WholeNumber(const QVariant& value);
};

}  // namespace orv
