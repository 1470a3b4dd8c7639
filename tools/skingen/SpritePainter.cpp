#include "SpritePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

#include "FamilyStyle.h"
#include "KnobPainter.h"
#include "Lettering.h"
#include "Texture.h"

namespace orv {
namespace {

const QColor kAmber(255, 174, 0);

QImage transparentImage(const ImageInfo& info) {
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

QImage finish(const QImage& img, const ImageInfo& info) {
  return Texture::stored(img, info.format == ImageFormat::Rgba);
}

// A cell painter: translates to cell `index` and clips to it.
template <class F>
void inCell(QPainter& p, const ImageInfo& info, int index, F&& paint) {
  p.save();
  p.translate(0, index * info.cellHeight);
  p.setClipRect(0, 0, info.width, info.cellHeight);
  paint();
  p.restore();
}

QColor scaled(const QColor& c, double f) {
  return QColor(std::min(255, int(c.red() * f)), std::min(255, int(c.green() * f)),
                std::min(255, int(c.blue() * f)), c.alpha());
}

// Chrome: a vertical sweep of bright and dark bands.
QLinearGradient chrome(QPointF from, QPointF to, double brightness) {
  QLinearGradient g(from, to);
  const std::array<std::pair<double, int>, 6> stops = {
      {{0.0, 250}, {0.3, 196}, {0.48, 120}, {0.55, 92}, {0.8, 170}, {1.0, 226}}};
  for (const auto& [at, v] : stops) {
    const int c = std::min(255, int(v * brightness));
    g.setColorAt(at, QColor(c, c, std::min(255, c + 6)));
  }
  return g;
}

void paintLed(QPainter& p, QPointF c, const QColor& led, bool on, double size = 1.0) {
  const double bezel = 5.6 * size, lensR = 4.1 * size, haloR = 12.5 * size;
  if (on) {
    QRadialGradient halo(c, haloR);
    halo.setColorAt(0.0, QColor(led.red(), led.green(), led.blue(), 230));
    halo.setColorAt(0.4, QColor(led.red(), led.green(), led.blue(), 110));
    halo.setColorAt(1.0, QColor(led.red(), led.green(), led.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, haloR, haloR);
  }
  p.setPen(QPen(QColor(0, 0, 0, 200), 0.8));
  p.setBrush(chrome(c + QPointF(0, -bezel), c + QPointF(0, bezel), 0.9));
  p.drawEllipse(c, bezel, bezel);
  QRadialGradient lens(c + QPointF(-1.0, -1.1) * size, lensR * 1.1);
  if (on) {
    lens.setColorAt(0.0, QColor(255, 255, 240));
    lens.setColorAt(0.3, led.lighter(130));
    lens.setColorAt(1.0, scaled(led, 0.85));
  } else {
    lens.setColorAt(0.0, scaled(led, 0.34));
    lens.setColorAt(1.0, scaled(led, 0.1));
  }
  p.setPen(QPen(QColor(0, 0, 0, 220), 0.7));
  p.setBrush(lens);
  p.drawEllipse(c, lensR, lensR);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, on ? 220 : 110));
  p.drawEllipse(c + QPointF(-1.3, -1.4) * size, 1.1 * size, 0.8 * size);
}

QPolygonF hexagon(QPointF c, double r) {
  QPolygonF hex;
  for (int i = 0; i < 6; ++i) {
    const double a = (30.0 + 60.0 * i) * M_PI / 180.0;
    hex << c + QPointF(std::cos(a), std::sin(a)) * r;
  }
  return hex;
}

// A chrome foot switch: hex nut and plunger; pressed pushes the plunger in.
void paintFootSwitch(QPainter& p, QPointF c, bool hover, bool pressed) {
  QPainterPath nut;
  nut.addPolygon(hexagon(c, 10.2));
  nut.closeSubpath();
  QImage shadow(32, 34, QImage::Format_ARGB32_Premultiplied);
  shadow.fill(Qt::transparent);
  {
    QPainter s(&shadow);
    s.setRenderHint(QPainter::Antialiasing);
    s.translate(16 - c.x(), 17 - c.y());
    s.fillPath(nut, Qt::black);
  }
  p.drawImage(c - QPointF(16, 17) + QPointF(0.8, 1.6), Texture::shadowOf(shadow, 3, 0.8f));
  if (hover) {
    // The pointer over the switch: a soft light around the nut.
    QRadialGradient halo(c, 12.5);
    halo.setColorAt(0.7, QColor(255, 236, 200, 110));
    halo.setColorAt(1.0, QColor(255, 236, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, 12.5, 12.5);
  }
  p.setPen(QPen(QColor(0, 0, 0, 200), 0.8));
  p.setBrush(chrome(c + QPointF(-6, -10), c + QPointF(6, 10), hover ? 1.05 : 0.92));
  p.drawPath(nut);
  p.setPen(QPen(QColor(255, 255, 255, hover ? 170 : 90), hover ? 1.0 : 0.7));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(hexagon(c, 9.2));
  // Washer ring and plunger.
  p.setPen(QPen(QColor(0, 0, 0, 160), 0.8));
  p.setBrush(chrome(c + QPointF(0, 7.5), c + QPointF(0, -7.5), 0.85));
  p.drawEllipse(c, 7.6, 7.6);
  const double r = pressed ? 5.6 : 6.2;
  const QPointF top = c + QPointF(0, pressed ? 0.7 : -0.3);
  QRadialGradient dome(top + QPointF(-2.0, -2.4), r * 1.6);
  const double b = pressed ? 0.72 : (hover ? 1.12 : 1.0);
  dome.setColorAt(0.0, QColor(255, 255, 255));
  dome.setColorAt(0.35, scaled(QColor(206, 208, 212), b));
  dome.setColorAt(1.0, scaled(QColor(84, 86, 92), b));
  p.setPen(QPen(QColor(0, 0, 0, 190), 0.8));
  p.setBrush(dome);
  p.drawEllipse(top, r, r);
  if (hover && !pressed) {
    p.setPen(QPen(QColor(255, 255, 255, 110), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(top, r + 1.1, r + 1.1);
  }
}

// Dark rounded window with a bevel, as the pull-downs and the plates have.
void paintWindow(QPainter& p, const QRectF& r, double radius, const QColor& top,
                 const QColor& bottom, int rimAlpha) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, top);
  fill.setColorAt(1.0, bottom);
  p.setPen(QPen(QColor(0, 0, 0, 230), 1.0));
  p.setBrush(fill);
  p.drawRoundedRect(r, radius, radius);
  // Light catches the lower lip of a recess.
  p.setPen(QPen(QColor(255, 255, 255, rimAlpha), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.6),
             QPointF(r.right() - radius, r.bottom() + 0.6));
}

void paintPullDownCell(QPainter& p, const ImageInfo& info, int state) {
  enum { Disabled, Hover, Pressed, Normal };
  const QRectF body(0.5, 1.5, info.width - 1.0, info.cellHeight - 3.5);
  const bool disabled = state == Disabled, pressed = state == Pressed;
  const QColor top = disabled ? QColor(22, 22, 23) : pressed ? QColor(6, 6, 7) : QColor(16, 16, 18);
  const QColor bottom = disabled  ? QColor(14, 14, 15)
                        : pressed ? QColor(22, 22, 24)
                                  : QColor(36, 36, 40);
  paintWindow(p, body, 3.5, top, bottom, disabled ? 25 : 45);
  // Glass sheen on the upper half.
  if (!pressed) {
    QLinearGradient sheen(body.topLeft(), QPointF(body.left(), body.center().y()));
    sheen.setColorAt(0.0, QColor(255, 255, 255, disabled ? 10 : 22));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(body.adjusted(1, 1, -1, -body.height() / 2), 2.5, 2.5);
  }
  // Arrow button at the right end.
  const double split = body.right() - 16.0;
  p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
  p.drawLine(QPointF(split, body.top() + 2), QPointF(split, body.bottom() - 2));
  p.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
  p.drawLine(QPointF(split + 1, body.top() + 2), QPointF(split + 1, body.bottom() - 2));
  const QPointF tip(split + 8.5, body.center().y() + (pressed ? 3.2 : 2.6));
  QPolygonF arrow;
  arrow << tip << tip + QPointF(-4.0, -5.0) << tip + QPointF(4.0, -5.0);
  p.setPen(Qt::NoPen);
  p.setBrush(disabled ? QColor(90, 66, 20) : kAmber);
  p.drawPolygon(arrow);
  if (state == Hover) {
    p.setPen(QPen(QColor(255, 174, 0, 150), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(0.6, 0.6, -0.6, -0.6), 3.0, 3.0);
  }
}

void paintStoreSymbol(QPainter& p, QPointF c, const QColor& ink, bool store) {
  p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPolygonF tray;
  tray << c + QPointF(-5.5, 1.5) << c + QPointF(-5.5, 5.0) << c + QPointF(5.5, 5.0)
       << c + QPointF(5.5, 1.5);
  p.drawPolyline(tray);
  const double from = store ? -5.5 : 2.5, to = store ? 2.5 : -5.5;
  p.drawLine(c + QPointF(0, from), c + QPointF(0, to));
  const double dir = store ? -1.0 : 1.0;
  p.drawLine(c + QPointF(0, to), c + QPointF(-3.0, to + dir * 3.0));
  p.drawLine(c + QPointF(0, to), c + QPointF(3.0, to + dir * 3.0));
}

}  // namespace

QImage SpritePainter::sectionSwitch(const ImageInfo& info, QSize visible, const QColor& led) {
  struct Face {
    bool hover, pressed, on;
  };
  // Cell order of the section switches.
  const std::array<Face, 6> faces = {{{false, false, false},
                                      {true, false, false},
                                      {true, false, true},
                                      {false, true, false},
                                      {false, true, true},
                                      {false, false, true}}};
  QImage img = transparentImage(info);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const double cx = visible.width() / 2.0;
  for (int i = 0; i < info.cellCount; ++i) {
    inCell(p, info, i, [&] {
      paintLed(p, QPointF(cx, 8.0), led, faces[i].on);
      paintFootSwitch(p, QPointF(cx, 30.5), faces[i].hover, faces[i].pressed);
    });
  }
  p.end();
  return finish(img, info);
}

QImage SpritePainter::pullDown(const ImageInfo& info) {
  QImage img = transparentImage(info);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < info.cellCount; ++i)
    inCell(p, info, i, [&] { paintPullDownCell(p, info, i); });
  p.end();
  return finish(img, info);
}

QImage SpritePainter::numberPlate(const ImageInfo& info) {
  QImage img = transparentImage(info);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, info.width - 1.0, info.height - 1.8);
  paintWindow(p, r, 2.5, QColor(6, 5, 4), QColor(26, 20, 12), 40);
  QLinearGradient sheen(r.topLeft(), QPointF(r.left(), r.center().y()));
  sheen.setColorAt(0.0, QColor(255, 220, 160, 26));
  sheen.setColorAt(1.0, QColor(255, 220, 160, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sheen);
  p.drawRoundedRect(r.adjusted(1, 1, -1, -r.height() / 2), 2, 2);
  p.end();
  return finish(img, info);
}

QImage SpritePainter::libraryButton(const ImageInfo& info, bool store) {
  enum { Off, On, Pressed, Hover };
  QImage img = transparentImage(info);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < info.cellCount; ++i) {
    inCell(p, info, i, [&] {
      const QRectF outer(1.5, 1.5, info.width - 3.5, info.cellHeight - 3.5);
      QImage sil(info.width, info.cellHeight, QImage::Format_ARGB32_Premultiplied);
      sil.fill(Qt::transparent);
      {
        QPainter s(&sil);
        s.setRenderHint(QPainter::Antialiasing);
        s.setBrush(Qt::black);
        s.drawRoundedRect(outer, 4, 4);
      }
      if (i != Pressed) p.drawImage(QPointF(0.6, 1.2), Texture::shadowOf(sil, 2, 0.7f));
      p.setPen(QPen(QColor(0, 0, 0, 210), 0.8));
      p.setBrush(chrome(outer.topLeft(), outer.bottomLeft(), i == Pressed ? 0.75 : 0.95));
      p.drawRoundedRect(outer, 4, 4);
      const QRectF cap = outer.adjusted(2, 2, -2, -2).translated(0, i == Pressed ? 0.5 : 0);
      QLinearGradient capFill(cap.topLeft(), cap.bottomLeft());
      capFill.setColorAt(0.0, i == Pressed ? QColor(20, 20, 22) : QColor(58, 58, 62));
      capFill.setColorAt(1.0, i == Pressed ? QColor(34, 34, 36) : QColor(16, 16, 18));
      p.setPen(QPen(QColor(0, 0, 0, 200), 0.7));
      p.setBrush(capFill);
      p.drawRoundedRect(cap, 2.5, 2.5);
      const QColor ink =
          i == Off ? QColor(92, 86, 76) : (i == Hover ? QColor(255, 210, 110) : kAmber);
      if (i != Off) {
        QRadialGradient halo(cap.center(), 9);
        halo.setColorAt(0.0, QColor(255, 174, 0, 70));
        halo.setColorAt(1.0, QColor(255, 174, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(cap.center(), 8, 8);
      }
      paintStoreSymbol(p, cap.center() + QPointF(0, -0.3), ink, store);
    });
  }
  p.end();
  return finish(img, info);
}

QImage SpritePainter::connectionIndicator(const ImageInfo& info, const QImage& under, QSize visible,
                                          const FamilyStyle& style) {
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < info.cellCount; ++i) {
    const bool on = i == 1;
    inCell(p, info, i, [&] {
      p.drawImage(0, 0, under);
      const QRectF window(4.5, 4.5, visible.width() - 9.0, visible.height() - 9.5);
      paintWindow(p, window, 4.0, QColor(8, 8, 9), QColor(22, 22, 24), 50);
      p.setPen(QPen(scaled(style.trim, 0.8), 1.0));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(window.adjusted(-1.2, -1.2, 1.2, 1.2), 5, 5);
      const QPointF led(window.left() + 14.0, window.center().y());
      paintLed(p, led, style.ledLit, on);
      const QRectF text(led.x() + 10.0, window.top(), window.right() - led.x() - 14.0,
                        window.height());
      const QFont f = Lettering::font(12.0, true, 1.6);
      if (on)
        Lettering::glow(p, text, Qt::AlignVCenter | Qt::AlignLeft, "CONNECTED", f,
                        style.ledLit.lighter(150), 0.9f);
      else
        Lettering::print(p, text, Qt::AlignVCenter | Qt::AlignLeft, "CONNECTED", f,
                         QColor(58, 58, 60), -0.4);
    });
  }
  p.end();
  return finish(img, info);
}

QImage SpritePainter::ratioScale(const ImageInfo& info, QPointF knob, const QColor& ink,
                                 const QColor& accent) {
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(14, 14, 15));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QImage texture = Texture::powderCoat(img.size(), QColor(20, 20, 22), 0.25f, 193);
  p.drawImage(0, 0, texture);
  // Bevelled edge of the inset plate.
  p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, info.width - 1.0, info.height - 2.0));
  p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
  p.drawLine(QPointF(1, info.height - 2.5), QPointF(info.width - 1, info.height - 2.5));
  // Marks at the six positions, outside the knob's own scale.
  const double r = 21.5;
  const QStringList marks = {"1:1", "1:4", "1:8", "1:12", "1:20", QString(QChar(0x221E))};
  const QFont small = Lettering::font(8.0, true, 0.0);
  const QFont infinity = Lettering::font(12.0, true, 0.0);
  for (int i = 0; i < 6; ++i) {
    const double a = KnobPainter::kStartAngle + KnobPainter::kTravel * i / 5.0;
    const QPointF d = KnobPainter::direction(a);
    p.setPen(QPen(i == 5 ? accent : ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(knob + d * (r - 0.5), knob + d * (r + 2.4));
    // Labels stand beside the marks, the lower ones pulled up to stay on the plate.
    const QPointF at = knob + d * (r + 4.5);
    const bool left = d.x()<-0.1, right = d.x()> 0.1;
    const double cy = std::clamp(at.y(), 7.0, double(info.height) - 8.0);
    const QRectF box = left    ? QRectF(at.x() - 25.0, cy - 6.0, 24.0, 12.0)
                       : right ? QRectF(at.x() + 1.0, cy - 6.0, 24.0, 12.0)
                               : QRectF(at.x() - 12.0, cy - 6.0, 24.0, 12.0);
    const int align = Qt::AlignVCenter | (left    ? Qt::AlignRight
                                          : right ? Qt::AlignLeft
                                                  : Qt::AlignHCenter);
    Lettering::print(p, box, align, marks[i], i == 5 ? infinity : small, i == 5 ? accent : ink);
  }
  p.end();
  return finish(img, info);
}

}  // namespace orv
