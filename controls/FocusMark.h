#pragma once
// The mark a skinned control draws while it holds the keyboard focus.
#include <QRect>

class QPainter;
class QWidget;

namespace orv {

// A dotted amber frame, shown only while the focus arrived by keyboard (Tab, Backtab): a click
// leaves the skin as it is, as the standard controls do.
class FocusMark {
 public:
  static bool Shown(const QWidget& control);
  static void Draw(QPainter& painter, const QRect& area);
};

}  // namespace orv
