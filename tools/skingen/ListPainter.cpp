#include "ListPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "Texture.h"

namespace orv {
namespace {

QColor shade(const QColor& c, int delta) {
  return QColor(std::clamp(c.red() + delta, 0, 255), std::clamp(c.green() + delta, 0, 255),
                std::clamp(c.blue() + delta, 0, 255));
}

}  // namespace

QImage ListPainter::row(const ImageInfo& info, const QColor& tint, int rowHeight) {
  QImage img = Texture::powderCoat(QSize(info.width, info.height), tint, 0.18f, 183);
  QPainter p(&img);
  for (int top = 0; top < info.height; top += rowHeight) {
    QLinearGradient g(0, top, 0, top + rowHeight);
    g.setColorAt(0.0, QColor(255, 255, 255, 16));
    g.setColorAt(0.5, QColor(255, 255, 255, 4));
    g.setColorAt(1.0, QColor(0, 0, 0, 40));
    p.fillRect(0, top, info.width, rowHeight, g);
    p.fillRect(0, top, info.width, 1, QColor(255, 255, 255, 20));
    p.fillRect(0, top + rowHeight - 1, info.width, 1, shade(tint, -14));
  }
  // A faint rule where the slot number ends and the name begins.
  p.fillRect(24, 0, 1, info.height, QColor(255, 255, 255, 10));
  p.end();
  return Texture::stored(img, false);
}

QImage ListPainter::track(const ImageInfo& info, const QColor& tint, int grooveWidth) {
  QImage img(info.width, info.height, QImage::Format_RGB32);
  img.fill(tint);
  QPainter p(&img);
  QLinearGradient g(0, 0, grooveWidth, 0);
  g.setColorAt(0.0, QColor(0, 0, 0));
  g.setColorAt(0.2, shade(tint, 2));
  g.setColorAt(0.75, shade(tint, 10));
  g.setColorAt(1.0, shade(tint, 26));
  p.fillRect(0, 0, grooveWidth, info.height, g);
  p.fillRect(0, 0, 1, info.height, QColor(0, 0, 0));
  p.fillRect(grooveWidth - 1, 0, 1, info.height, shade(tint, 48));
  // Shallow ribs every few pixels, as a moulded track has.
  for (int y = 4; y < info.height; y += 6)
    p.fillRect(1, y, grooveWidth - 2, 1, QColor(255, 255, 255, 7));
  p.fillRect(0, 0, grooveWidth, 2, QColor(0, 0, 0));
  p.end();
  return img;
}

QImage ListPainter::thumb(const ImageInfo& info, const QColor& groove) {
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  img.fill(groove);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(0.5, 0.5, info.width - 1.0, info.height - 1.0);
  QLinearGradient metal(body.topLeft(), body.topRight());
  metal.setColorAt(0.0, QColor(236, 236, 238));
  metal.setColorAt(0.45, QColor(176, 176, 180));
  metal.setColorAt(1.0, QColor(92, 92, 98));
  p.setPen(QPen(QColor(0, 0, 0), 1.0));
  p.setBrush(metal);
  p.drawRoundedRect(body, 3, 3);
  // Grip ridges in the middle.
  const double mid = info.height / 2.0;
  for (int i = -3; i <= 3; ++i) {
    const double y = mid + i * 3.0;
    p.setPen(QPen(QColor(60, 60, 64), 1.0));
    p.drawLine(QPointF(2, y), QPointF(info.width - 2, y));
    p.setPen(QPen(QColor(255, 255, 255, 180), 1.0));
    p.drawLine(QPointF(2, y + 1), QPointF(info.width - 2, y + 1));
  }
  p.end();
  return Texture::stored(img, false);
}

QImage ListPainter::arrow(const ImageInfo& info, bool up) {
  enum { Normal, Hover, Pressed, Disabled };
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(10, 10, 11));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < info.cellCount; ++i) {
    p.save();
    p.translate(0, i * info.cellHeight);
    const QRectF body(0.5, 0.5, info.width - 1.0, info.cellHeight - 1.0);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    const int lift = i == Hover ? 14 : 0;
    if (i == Pressed) {
      fill.setColorAt(0.0, QColor(14, 14, 16));
      fill.setColorAt(1.0, QColor(34, 34, 36));
    } else {
      fill.setColorAt(0.0, QColor(70 + lift, 70 + lift, 74 + lift));
      fill.setColorAt(1.0, QColor(26 + lift, 26 + lift, 28 + lift));
    }
    p.setPen(QPen(QColor(0, 0, 0), 1.0));
    p.setBrush(fill);
    p.drawRoundedRect(body, 2, 2);
    const QPointF c = body.center() + QPointF(0, i == Pressed ? 0.5 : 0.0);
    const double dir = up ? -1.0 : 1.0;
    QPolygonF tri;
    tri << c + QPointF(0, dir * 2.6) << c + QPointF(-3.4, -dir * 2.0)
        << c + QPointF(3.4, -dir * 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(i == Disabled  ? QColor(70, 70, 72)
               : i == Pressed ? QColor(255, 174, 0)
                              : QColor(222, 222, 226));
    p.drawPolygon(tri);
    p.restore();
  }
  p.end();
  return Texture::stored(img, false);
}

}  // namespace orv
