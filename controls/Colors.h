#pragma once
// The panel's two text colours besides black and white.
#include <QColor>

namespace orv {

inline const QColor kAmber(255, 174, 0);
inline const QColor kDarkBrown(64, 44, 0);

}  // namespace orv
