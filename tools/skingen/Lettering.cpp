#include "Lettering.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

#include "FamilyStyle.h"
#include "Texture.h"

namespace orv {

QFont Lettering::font(double pixelSize, bool bold, double spacing) {
  QFont f("Arial");
  f.setPixelSize(int(std::lround(pixelSize)));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  if (spacing != 0.0) f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
  return f;
}

void Lettering::print(QPainter& p, const QRectF& box, int align, const QString& text,
                      const QFont& font, const QColor& ink, double relief) {
  p.save();
  p.setFont(font);
  if (relief > 0) {
    p.setPen(QColor(0, 0, 0, int(120 * relief)));
    p.drawText(box.translated(0.6, 0.9), align, text);
  } else if (relief < 0) {
    p.setPen(QColor(255, 255, 255, int(-90 * relief)));
    p.drawText(box.translated(0.0, 0.9), align, text);
  }
  p.setPen(ink);
  p.drawText(box, align, text);
  p.restore();
}

void Lettering::glow(QPainter& p, const QRectF& box, int align, const QString& text,
                     const QFont& font, const QColor& ink, float strength) {
  const QRect area = box.toAlignedRect().adjusted(-6, -6, 6, 6);
  QImage halo(area.size(), QImage::Format_ARGB32_Premultiplied);
  halo.fill(Qt::transparent);
  {
    QPainter h(&halo);
    h.setRenderHint(QPainter::TextAntialiasing);
    h.setFont(font);
    h.setPen(ink);
    h.drawText(box.translated(-area.topLeft()), align, text);
  }
  Texture::blur(halo, 3);
  p.save();
  p.setOpacity(std::min(1.0f, strength));
  p.drawImage(area.topLeft(), halo);
  if (strength > 1.0f) {
    p.setOpacity(strength - 1.0f);
    p.drawImage(area.topLeft(), halo);
  }
  p.restore();
  print(p, box, align, text, font, ink);
}

QFont Lettering::fitted(const QString& text, double pixelSize, bool bold, double spacing,
                        double width) {
  constexpr int kSmallest = 5;
  for (int size = int(std::lround(pixelSize)); size >= kSmallest; --size) {
    const QFont f = font(size, bold, spacing);
    if (QFontMetricsF(f).horizontalAdvance(text) <= width) return f;
  }
  // Still too long at the smallest size: narrow the letters until the text fits.
  QFont f = font(kSmallest, bold, 0.0);
  const double advance = QFontMetricsF(f).horizontalAdvance(text);
  f.setStretch(std::max(1, int(std::floor(100.0 * width / advance))));
  return f;
}

void Lettering::legend(QPainter& p, const QRectF& box, const QString& name,
                       const FamilyStyle& style, bool lit) {
  // The window keeps clear of the cell's last column and row, which the controls may not draw.
  const QRectF window(box.left() + 0.5, box.top() + 0.5, box.width() - 2.0, 12.0);
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient glass(window.topLeft(), window.bottomLeft());
  QColor top = style.legendWindow, bottom = style.legendWindow.lighter(lit ? 190 : 135);
  if (lit) {
    const QColor& l = style.legendLit;
    top = QColor((top.red() * 5 + l.red()) / 6, (top.green() * 5 + l.green()) / 6,
                 (top.blue() * 5 + l.blue()) / 6);
  }
  glass.setColorAt(0.0, top);
  glass.setColorAt(1.0, bottom);
  p.setPen(QPen(QColor(0, 0, 0, 170), 1.0));
  p.setBrush(glass);
  p.drawRoundedRect(window, 3.0, 3.0);
  p.setPen(QPen(QColor(255, 255, 255, lit ? 60 : 28), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(window.left() + 3, window.bottom() - 0.4),
             QPointF(window.right() - 3, window.bottom() - 0.4));
  const QFont f = fitted(name, 9.0, true, 0.5, window.width() - 5.0);
  const QRectF text = window.adjusted(0, 0.2, 0, 0);
  if (lit)
    glow(p, text, Qt::AlignCenter, name, f, style.legendLit, 1.6f);
  else
    print(p, text, Qt::AlignCenter, name, f, style.legendDim);
  p.restore();
}

}  // namespace orv
