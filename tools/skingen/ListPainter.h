#pragma once
// The library list's parts: row background, scroll track, thumb and arrow buttons.
#include <QColor>
#include <QImage>

#include "skin/ImageInventory.h"

namespace orv {

class ListPainter {
 public:
  // Row background; the list uses its top-left corner, one 19-pixel row of the list's width.
  static QImage row(const ImageInfo& info, const QColor& tint, int rowHeight);
  // Scroll track: the bar draws its first `grooveWidth` columns, from the second row down.
  static QImage track(const ImageInfo& info, const QColor& tint, int grooveWidth);
  // Scroll thumb, drawn stretched to the thumb's height.
  static QImage thumb(const ImageInfo& info, const QColor& groove);
  // Arrow button: normal, hover, pressed, disabled.
  static QImage arrow(const ImageInfo& info, bool up);
};

}  // namespace orv
