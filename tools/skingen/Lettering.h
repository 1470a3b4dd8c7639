#pragma once
// Text on the panel: printed captions and the small backlit windows of the amplifier-type names.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace orv {

struct FamilyStyle;

class Lettering {
 public:
  // "Arial" at a pixel size; letter spacing in pixels.
  static QFont font(double pixelSize, bool bold, double spacing = 0.0);

  // Prints text aligned in a box, optionally with a one-pixel shadow or highlight below it
  // (`relief` > 0: a dark shadow, the look of raised print; < 0: a light edge, engraved).
  static void print(QPainter& p, const QRectF& box, int align, const QString& text,
                    const QFont& font, const QColor& ink, double relief = 0.0);

  // Prints text with a soft glow of its own colour around it.
  static void glow(QPainter& p, const QRectF& box, int align, const QString& text,
                   const QFont& font, const QColor& ink, float strength);

  // The largest font, not above `pixelSize`, at which text fits `width`.
  static QFont fitted(const QString& text, double pixelSize, bool bold, double spacing,
                      double width);

  // An amplifier-type name in its small window, box = the label's cell (w x 14): unlit as the
  // panel prints it, or lit as the selected label shows it.
  static void legend(QPainter& p, const QRectF& box, const QString& name, const FamilyStyle& style,
                     bool lit);
};

}  // namespace orv
