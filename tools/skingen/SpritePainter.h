#pragma once
// Button faces, pull-down faces and plates. Sprites stack their cells vertically, in the order the
// controls address them.
#include <QColor>
#include <QImage>
#include <QSize>

#include "skin/ImageInventory.h"

namespace orv {

struct FamilyStyle;

class SpritePainter {
 public:
  // Section on/off switch: normal-off, hover-off, hover-on, pressed-off, pressed-on, normal-on.
  static QImage sectionSwitch(const ImageInfo& info, QSize visible, const QColor& led);
  // Pull-down: normal-off (disabled), hover-on, pressed, normal-on.
  static QImage pullDown(const ImageInfo& info);
  // Amber number read-out plate.
  static QImage numberPlate(const ImageInfo& info);
  // Save to Library: normal-off, normal-on, pressed, hover. `store` false draws the spare
  // button's fetch symbol instead of the store symbol.
  static QImage libraryButton(const ImageInfo& info, bool store);
  // The connection indicator over its piece of background: disconnected face, connected face.
  static QImage connectionIndicator(const ImageInfo& info, const QImage& under, QSize visible,
                                    const FamilyStyle& style);
  // The compressor ratio scale around the Ratio knob, whose centre lies at `knob`.
  static QImage ratioScale(const ImageInfo& info, QPointF knob, const QColor& ink,
                           const QColor& accent);
};

}  // namespace orv
