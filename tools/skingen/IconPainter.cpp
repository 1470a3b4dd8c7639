#include "IconPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Lettering.h"
#include "Texture.h"
#include "skin/SkinPixels.h"

namespace orv {
namespace {

const QColor kTolexLight(52, 52, 56), kTolexDark(18, 18, 20);
const QColor kMetalLight(222, 224, 228), kMetalDark(150, 152, 158);
const QColor kAccent(236, 170, 40), kLamp(90, 255, 120), kInk(22, 22, 24);
// The smallest letters an icon carries, in pixels of the font size.
constexpr double kMinLetterPixels = 8;

// The amplifier head inside `box` (its width is about 1.4 times its height).
void paintHead(QPainter& p, const QRectF& box) {
  const double u = box.width();
  const QRectF handle(box.center().x() - 0.16 * u, box.top(), 0.32 * u, 0.12 * u);
  p.setPen(QPen(kTolexDark, std::max(1.0, 0.035 * u)));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(handle.adjusted(0, 0, 0, 0.1 * u), 0.05 * u, 0.05 * u);

  const QRectF body(box.left(), box.top() + 0.08 * u, u, box.height() - 0.08 * u);
  QLinearGradient tolex(body.topLeft(), body.bottomLeft());
  tolex.setColorAt(0, kTolexLight);
  tolex.setColorAt(1, kTolexDark);
  p.setPen(QPen(QColor(8, 8, 9), std::max(1.0, 0.02 * u)));
  p.setBrush(tolex);
  p.drawRoundedRect(body, 0.07 * u, 0.07 * u);

  // The control panel: brushed metal with knobs and the lamp.
  const QRectF panel = body.adjusted(0.07 * u, 0.08 * u, -0.07 * u, -0.45 * body.height());
  QLinearGradient metal(panel.topLeft(), panel.bottomLeft());
  metal.setColorAt(0, kMetalLight);
  metal.setColorAt(1, kMetalDark);
  p.setPen(Qt::NoPen);
  p.setBrush(metal);
  p.drawRoundedRect(panel, 0.02 * u, 0.02 * u);
  // Below about 24 pixels four knobs run together: two larger ones read as knobs.
  const int knobs = u >= 24 ? 4 : 2;
  const double r = panel.height() * (knobs == 4 ? 0.26 : 0.34);
  for (int i = 0; i < knobs; ++i) {
    const QPointF c(panel.left() + panel.width() * (knobs == 4 ? 0.14 + 0.19 * i : 0.2 + 0.34 * i),
                    panel.center().y());
    p.setBrush(kInk);
    p.drawEllipse(c, r, r);
    if (u >= 40) {
      p.setPen(QPen(kMetalLight, std::max(1.0, r * 0.3), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(c, c + QPointF(-0.6 * r, -0.6 * r));
      p.setPen(Qt::NoPen);
    }
  }
  p.setBrush(kLamp);
  const QPointF lamp(panel.right() - panel.width() * 0.1, panel.center().y());
  p.drawEllipse(lamp, r * 0.6, r * 0.6);

  // The grille with the accent trim and, where it can be read, the name.
  const QRectF grille(panel.left(), panel.bottom() + 0.05 * u, panel.width(),
                      body.bottom() - panel.bottom() - 0.12 * u);
  p.setBrush(QColor(40, 38, 36));
  p.drawRect(grille);
  if (u >= 40) {
    p.setPen(QPen(QColor(58, 56, 52), std::max(1.0, u / 64)));
    for (double x = grille.left(); x < grille.right(); x += std::max(2.0, u / 24))
      p.drawLine(QPointF(x, grille.top()), QPointF(x, grille.bottom()));
    p.setPen(Qt::NoPen);
  }
  p.setBrush(kAccent);
  p.drawRect(QRectF(grille.left(), grille.top(), grille.width(), std::max(1.0, 0.03 * u)));
  if (0.1 * u >= kMinLetterPixels) {
    const QRectF badge(grille.center().x() - 0.17 * u, grille.center().y() - 0.07 * u, 0.34 * u,
                       0.14 * u);
    p.setBrush(kTolexDark);
    p.drawRoundedRect(badge, 0.02 * u, 0.02 * u);
    Lettering::print(p, badge, Qt::AlignCenter, "ORV", Lettering::font(0.1 * u, true, 0.01 * u),
                     kAccent);
  }
}

// A sheet of paper with a folded corner.
void paintSheet(QPainter& p, const QRectF& sheet, const QColor& paper) {
  const double fold = sheet.width() * 0.28;
  QPainterPath outline;
  outline.moveTo(sheet.topLeft());
  outline.lineTo(sheet.right() - fold, sheet.top());
  outline.lineTo(sheet.right(), sheet.top() + fold);
  outline.lineTo(sheet.bottomRight());
  outline.lineTo(sheet.bottomLeft());
  outline.closeSubpath();
  p.setPen(QPen(QColor(110, 110, 116), std::max(1.0, sheet.width() / 48)));
  p.setBrush(paper);
  p.drawPath(outline);
  QPainterPath corner;
  corner.moveTo(sheet.right() - fold, sheet.top());
  corner.lineTo(sheet.right() - fold, sheet.top() + fold);
  corner.lineTo(sheet.right(), sheet.top() + fold);
  corner.closeSubpath();
  p.setBrush(paper.darker(125));
  p.drawPath(corner);
}

void paintDocument(QPainter& p, int size, bool library) {
  const double s = size;
  const QRectF sheet(0.16 * s, 0.04 * s, 0.68 * s, 0.92 * s);
  if (library) {
    paintSheet(p, sheet.translated(0.08 * s, 0.0).adjusted(0, 0, -0.04 * s, -0.04 * s),
               QColor(200, 200, 204));
    paintSheet(p, sheet.translated(-0.08 * s, 0.04 * s).adjusted(0, 0, 0, -0.04 * s),
               QColor(238, 238, 240));
  } else {
    paintSheet(p, sheet, QColor(246, 246, 248));
  }
  const QRectF page = library ? sheet.translated(-0.08 * s, 0.04 * s) : sheet;
  // The extension is lettered only where its letters get enough pixels to be read; smaller
  // icons give its place to a larger amplifier.
  const double letters = 0.13 * s;
  const bool captioned = letters >= kMinLetterPixels;
  const double w = page.width() * (captioned ? 0.8 : 0.92);
  const double top = captioned ? 0.36 : 0.3;
  paintHead(p, QRectF(page.center().x() - w / 2, page.top() + top * page.height(), w, w * 0.72));
  if (captioned) {
    const QRectF caption(page.left(), page.top() + 0.1 * page.height(), page.width() * 0.72,
                         0.22 * page.height());
    Lettering::print(p, caption, Qt::AlignCenter, library ? "ZBL" : "ZBP",
                     Lettering::font(letters, true), kInk);
  }
}

}  // namespace

const QList<int>& IconPainter::sizes() {
  static const QList<int> all(SkinPixels::kApplicationIconSizes.begin(),
                              SkinPixels::kApplicationIconSizes.end());
  return all;
}

QString IconPainter::name(Kind kind) {
  switch (kind) {
    case Kind::Library:
      return "application-x-orv-library";
    case Kind::Patch:
      return "application-x-orv-patch";
    case Kind::Application:
      break;
  }
  return "orv-editor";
}

QString IconPainter::context(Kind kind) {
  return kind == Kind::Application ? "apps" : "mimetypes";
}

QImage IconPainter::paint(Kind kind, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  if (kind == Kind::Application) {
    const double s = size;
    paintHead(p, QRectF(0.04 * s, 0.14 * s, 0.92 * s, 0.72 * s));
  } else {
    paintDocument(p, size, kind == Kind::Library);
  }
  p.end();
  return Texture::stored(img, true);
}

}  // namespace orv
