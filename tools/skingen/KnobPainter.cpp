#include "KnobPainter.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <numbers>

#include "Texture.h"

namespace orv {
namespace {

const QPointF kLight(-0.6, -0.8);  // towards the light: up and to the left

struct Knob {
  QPointF centre;
  double radius;  // outer edge of the skirt
  double face;    // radius of the top face
};

double lit(QPointF d) {
  return 0.5 + 0.5 * (d.x() * kLight.x() + d.y() * kLight.y());
}

QImage newStrip(const ImageInfo& info) {
  QImage strip(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  return strip;
}

QImage newFrame(const ImageInfo& info) {
  QImage frame(info.width, info.cellHeight, QImage::Format_ARGB32_Premultiplied);
  frame.fill(Qt::transparent);
  return frame;
}

// The soft shadow a round knob casts on the panel.
QImage roundShadow(const ImageInfo& info, const Knob& k, float opacity) {
  QImage silhouette = newFrame(info);
  QPainter p(&silhouette);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(k.centre, k.radius + 0.5, k.radius + 0.5);
  p.end();
  return Texture::shadowOf(silhouette, 4, opacity);
}

// Knurled skirt: ridges turn with the knob, their light stays with the room.
void paintSkirt(QPainter& p, const Knob& k, double angle, int ridges) {
  QLinearGradient body(k.centre + QPointF(-k.radius, -k.radius),
                       k.centre + QPointF(k.radius, k.radius));
  body.setColorAt(0.0, QColor(78, 78, 82));
  body.setColorAt(0.45, QColor(30, 30, 33));
  body.setColorAt(1.0, QColor(8, 8, 9));
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawEllipse(k.centre, k.radius, k.radius);
  for (int i = 0; i < ridges; ++i) {
    const QPointF d = KnobPainter::direction(angle + 360.0 * i / ridges);
    const double l = lit(d);
    p.setPen(QPen(QColor::fromRgbF(0.05 + 0.42 * l, 0.05 + 0.42 * l, 0.06 + 0.43 * l, 0.85), 0.8,
                  Qt::SolidLine, Qt::FlatCap));
    p.drawLine(k.centre + d * (k.face + 0.8), k.centre + d * (k.radius - 0.5));
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 190), 0.9));
  p.drawEllipse(k.centre, k.radius - 0.45, k.radius - 0.45);
}

// A thin ring lit on its upper left and dark on its lower right.
void paintBevel(QPainter& p, QPointF c, double r, int lightAlpha, int darkAlpha, double width) {
  QConicalGradient ring(c, 135);
  ring.setColorAt(0.0, QColor(255, 255, 255, lightAlpha));
  ring.setColorAt(0.25, QColor(128, 128, 128, 0));
  ring.setColorAt(0.5, QColor(0, 0, 0, darkAlpha));
  ring.setColorAt(0.75, QColor(128, 128, 128, 0));
  ring.setColorAt(1.0, QColor(255, 255, 255, lightAlpha));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(ring), width));
  p.drawEllipse(c, r, r);
}

// Glossy black top face.
void paintBlackFace(QPainter& p, const Knob& k) {
  QRadialGradient face(k.centre + QPointF(-k.face * 0.35, -k.face * 0.45), k.face * 1.5);
  face.setColorAt(0.0, QColor(74, 74, 78));
  face.setColorAt(0.45, QColor(28, 28, 31));
  face.setColorAt(1.0, QColor(6, 6, 7));
  p.setPen(Qt::NoPen);
  p.setBrush(face);
  p.drawEllipse(k.centre, k.face, k.face);
  paintBevel(p, k.centre, k.face - 0.5, 150, 200, 0.9);
}

// Spun aluminium cap: the circular highlights of a turned surface, fixed to the light.
void paintMetalCap(QPainter& p, const Knob& k) {
  QConicalGradient spun(k.centre, 135);
  const QList<std::pair<double, int>> stops = {
      {0.0, 236},  {0.08, 190}, {0.17, 150}, {0.25, 120}, {0.33, 146}, {0.42, 196}, {0.5, 226},
      {0.58, 184}, {0.67, 132}, {0.75, 108}, {0.83, 140}, {0.92, 196}, {1.0, 236}};
  for (const auto& [at, v] : stops) spun.setColorAt(at, QColor(v, v, v + 4));
  p.setPen(Qt::NoPen);
  p.setBrush(spun);
  p.drawEllipse(k.centre, k.face, k.face);
  QRadialGradient dome(k.centre + QPointF(-k.face * 0.3, -k.face * 0.4), k.face * 1.45);
  dome.setColorAt(0.0, QColor(255, 255, 255, 60));
  dome.setColorAt(0.55, QColor(255, 255, 255, 0));
  dome.setColorAt(1.0, QColor(0, 0, 0, 110));
  p.setBrush(dome);
  p.drawEllipse(k.centre, k.face, k.face);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
  p.drawEllipse(k.centre, k.face + 0.2, k.face + 0.2);
  paintBevel(p, k.centre, k.face - 0.6, 170, 120, 0.8);
}

void paintLine(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
}

// White pointer line with its shadow, from radius r0 to r1.
void paintWhitePointer(QPainter& p, const Knob& k, double angle, double r0, double r1,
                       double width) {
  const QPointF d = KnobPainter::direction(angle);
  const QPointF drop(0.35, 0.6);
  paintLine(p, k.centre + d * r0 + drop, k.centre + d * r1 + drop, QColor(0, 0, 0, 140),
            width + 0.6);
  paintLine(p, k.centre + d * r0, k.centre + d * r1, QColor(252, 250, 244), width);
}

// The outline of a chicken-head pointer knob pointing straight down, centred at the origin.
QPainterPath chickenHead(double length) {
  QPainterPath hub;
  hub.addEllipse(QPointF(0, 0), length * 0.46, length * 0.46);
  QPainterPath beak;
  const double tip = length, half = length * 0.27;
  beak.moveTo(-half * 1.35, length * 0.0);
  beak.cubicTo(-half * 0.95, length * 0.5, -half * 0.4, tip * 0.95, 0, tip);
  beak.cubicTo(half * 0.4, tip * 0.95, half * 0.95, length * 0.5, half * 1.35, length * 0.0);
  beak.closeSubpath();
  QPainterPath tail;
  tail.moveTo(-half * 1.2, 0);
  tail.cubicTo(-half * 1.1, -length * 0.45, -half * 0.5, -length * 0.66, 0, -length * 0.68);
  tail.cubicTo(half * 0.5, -length * 0.66, half * 1.1, -length * 0.45, half * 1.2, 0);
  tail.closeSubpath();
  return hub.united(beak).united(tail).simplified();
}

void paintChickenHead(QPainter& p, const ImageInfo& info, QPointF c, double length, double angle) {
  QTransform t;
  t.translate(c.x(), c.y());
  t.rotate(angle);
  const QPainterPath outline = t.map(chickenHead(length));

  QImage silhouette = newFrame(info);
  {
    QPainter s(&silhouette);
    s.setRenderHint(QPainter::Antialiasing);
    s.fillPath(outline, Qt::black);
  }
  p.drawImage(QPointF(1.2, 2.2), Texture::shadowOf(silhouette, 4, 0.75f));

  QLinearGradient body(c + QPointF(-length, -length), c + QPointF(length, length));
  body.setColorAt(0.0, QColor(86, 84, 82));
  body.setColorAt(0.42, QColor(30, 29, 28));
  body.setColorAt(1.0, QColor(6, 6, 6));
  p.fillPath(outline, body);
  // Moulded ridge along the pointer and a gloss on the upper left.
  QRadialGradient gloss(c + QPointF(-length * 0.3, -length * 0.35), length * 0.9);
  gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
  gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillPath(outline, gloss);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 200), 0.9));
  p.drawPath(outline);
  const QPointF d = KnobPainter::direction(angle);
  paintLine(p, c + d * (length * 0.2) + QPointF(0.3, 0.5),
            c + d * (length * 0.9) + QPointF(0.3, 0.5), QColor(0, 0, 0, 150), 2.6);
  paintLine(p, c + d * (length * 0.2), c + d * (length * 0.9), QColor(250, 248, 240), 2.0);
  // Centre screw of the hub.
  QRadialGradient screw(c + QPointF(-1, -1), 4.0);
  screw.setColorAt(0.0, QColor(220, 220, 224));
  screw.setColorAt(1.0, QColor(70, 70, 76));
  p.setPen(QPen(QColor(0, 0, 0, 160), 0.6));
  p.setBrush(screw);
  p.drawEllipse(c, 2.6, 2.6);
}

}  // namespace

double KnobPainter::valueAngle(int frame, int frameCount) {
  return kStartAngle + kTravel * frame / double(frameCount - 1);
}

int KnobPainter::selectorPosition(int frame, int frameCount) {
  const double at = double(frame) * (kSelectorPositions - 1) / double(frameCount - 1);
  return int(std::floor(at + 0.5));
}

double KnobPainter::selectorAngle(int frame, int frameCount) {
  return kStartAngle + kTravel * selectorPosition(frame, frameCount) / (kSelectorPositions - 1);
}

QPointF KnobPainter::direction(double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {-std::sin(a), std::cos(a)};
}

QImage KnobPainter::smallStrip(const ImageInfo& info, QSize visible) {
  QImage strip = newStrip(info);
  const Knob k{QPointF(visible.width() / 2.0, visible.height() / 2.0), 14.2, 10.8};
  const QImage shadow = roundShadow(info, k, 0.8f);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int f = 0; f < info.cellCount; ++f) {
    const double angle = valueAngle(f, info.cellCount);
    p.save();
    p.translate(0, f * info.cellHeight);
    p.setClipRect(0, 0, info.width, info.cellHeight);
    paintScale(p, k.centre, 16.6, 19.4, 11, QColor(232, 232, 232, 215), 1.2);
    p.drawImage(QPointF(0.8, 1.8), shadow);
    paintSkirt(p, k, angle, 28);
    paintBlackFace(p, k);
    paintWhitePointer(p, k, angle, 3.2, k.radius - 1.2, 1.9);
    p.restore();
  }
  p.end();
  return Texture::stored(strip, true);
}

QImage KnobPainter::ampStrip(const ImageInfo& info, QSize visible) {
  QImage strip = newStrip(info);
  const Knob k{QPointF(visible.width() / 2.0, visible.height() / 2.0), 19.6, 13.0};
  const QImage shadow = roundShadow(info, k, 0.85f);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int f = 0; f < info.cellCount; ++f) {
    const double angle = valueAngle(f, info.cellCount);
    const QPointF d = direction(angle);
    p.save();
    p.translate(0, f * info.cellHeight);
    p.setClipRect(0, 0, info.width, info.cellHeight);
    p.drawImage(QPointF(1.2, 2.4), shadow);
    paintSkirt(p, k, angle, 36);
    paintMetalCap(p, k);
    paintLine(p, k.centre + d * 2.5, k.centre + d * (k.face - 1.2), QColor(255, 255, 255, 90), 2.4);
    paintLine(p, k.centre + d * 2.5, k.centre + d * (k.face - 1.2), QColor(18, 18, 20), 1.6);
    paintWhitePointer(p, k, angle, k.face + 1.2, k.radius - 1.0, 2.2);
    p.restore();
  }
  p.end();
  return Texture::stored(strip, true);
}

QImage KnobPainter::selectorStrip(const ImageInfo& info, QSize visible) {
  QImage strip = newStrip(info);
  const QPointF centre(visible.width() / 2.0, visible.height() / 2.0);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  for (int f = 0; f < info.cellCount; ++f) {
    p.save();
    p.translate(0, f * info.cellHeight);
    p.setClipRect(0, 0, info.width, info.cellHeight);
    paintChickenHead(p, info, centre, 22.5, selectorAngle(f, info.cellCount));
    p.restore();
  }
  p.end();
  return Texture::stored(strip, true);
}

void KnobPainter::paintScale(QPainter& p, QPointF centre, double inner, double outer, int count,
                             const QColor& ink, double width) {
  for (int i = 0; i < count; ++i) {
    const QPointF d = direction(valueAngle(i, count));
    const bool end = i == 0 || i == count - 1;
    paintLine(p, centre + d * inner, centre + d * (outer + (end ? 0.6 : 0.0)), ink,
              end ? width * 1.25 : width);
  }
}

void KnobPainter::paintSelectorMarks(QPainter& p, QPointF centre, double radius,
                                     const QList<double>& angles, const QColor& ink) {
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  for (double a : angles) p.drawEllipse(centre + direction(a) * radius, 1.7, 1.7);
}

}  // namespace orv
