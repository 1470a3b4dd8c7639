#include "PanelPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "FamilyStyle.h"
#include "KnobPainter.h"
#include "Lettering.h"
#include "Texture.h"
#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"

namespace orv {
namespace {

constexpr int kW = LayoutData::kClientWidth, kH = LayoutData::kClientHeight;
const QRectF kHeader(4, 4, 792, 125.5);  // the amplifier section's strip
const QRectF kFace(4, 131.5, 792, 464.5);
constexpr double kCaptionBaseline = 47.5;  // the amplifier knobs' captions
constexpr double kCaptionSize = 10.0;

QRectF px(int id) {
  const LayoutRect& r = LayoutData::at(id).pixels;
  return QRectF(r.x, r.y, r.width, r.height);
}

bool isLight(const QColor& c) {
  return c.lightness() > 140;
}

QImage headerTexture(const FamilyStyle& s) {
  const QSize size(kW, kH);
  switch (s.header) {
    case HeaderMaterial::BrushedAluminium:
      return Texture::brushedMetal(size, s.headerBase, 0.13f, s.seed);
    case HeaderMaterial::DarkSteel:
      return Texture::brushedMetal(size, s.headerBase, 0.3f, s.seed);
    case HeaderMaterial::Ivory:
      return Texture::powderCoat(size, s.headerBase, 0.05f, s.seed);
    case HeaderMaterial::Spruce:
      return Texture::wood(size, s.headerBase.darker(125), s.headerBase.lighter(112), 0.35f,
                           s.seed);
  }
  return {};
}

QImage faceTexture(const FamilyStyle& s) {
  const QSize size(kW, kH);
  switch (s.panel) {
    case PanelMaterial::BlackTolex:
      return Texture::tolex(size, s.panelBase, 1.0f, s.seed + 1);
    case PanelMaterial::Crinkle:
      return Texture::tolex(size, s.panelBase, 0.45f, s.seed + 1);
    case PanelMaterial::OxbloodTolex:
      return Texture::tolex(size, s.panelBase, 1.1f, s.seed + 1);
    case PanelMaterial::Rosewood:
      return Texture::wood(size, s.panelBase.darker(135), s.panelBase.lighter(150), 1.0f,
                           s.seed + 1);
  }
  return {};
}

// A window sunk into the panel: shadow inside its upper left edge, light on its lower lip.
void paintRecess(QPainter& p, const QPainterPath& path, const QColor& fill) {
  p.save();
  p.fillPath(path.translated(0, 1.2), QColor(255, 255, 255, 38));
  QLinearGradient g(path.boundingRect().topLeft(), path.boundingRect().bottomLeft());
  g.setColorAt(0.0, fill.darker(130));
  g.setColorAt(0.08, fill);
  g.setColorAt(1.0, fill.lighter(115));
  p.fillPath(path, g);
  p.setClipPath(path);
  p.strokePath(path.translated(1.2, 1.8), QPen(QColor(0, 0, 0, 150), 3.5));
  p.setClipping(false);
  p.strokePath(path, QPen(QColor(0, 0, 0, 210), 1.0));
  p.restore();
}

QPainterPath roundedRect(const QRectF& r, double radius) {
  QPainterPath path;
  path.addRoundedRect(r, radius, radius);
  return path;
}

void paintScrew(QPainter& p, QPointF c, const QColor& metal) {
  QRadialGradient shadow(c + QPointF(0.8, 1.2), 5.0);
  shadow.setColorAt(0.6, QColor(0, 0, 0, 120));
  shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(shadow);
  p.drawEllipse(c + QPointF(0.8, 1.2), 5.0, 5.0);
  QRadialGradient head(c + QPointF(-1.2, -1.4), 5.0);
  head.setColorAt(0.0, metal.lighter(140));
  head.setColorAt(0.6, metal);
  head.setColorAt(1.0, metal.darker(220));
  p.setPen(QPen(QColor(0, 0, 0, 170), 0.7));
  p.setBrush(head);
  p.drawEllipse(c, 3.6, 3.6);
  p.setPen(QPen(QColor(0, 0, 0, 190), 1.1));
  p.drawLine(c + QPointF(-2.4, 1.0), c + QPointF(2.4, -1.0));
  p.drawLine(c + QPointF(-1.0, -2.4), c + QPointF(1.0, 2.4));
}

}  // namespace

PanelPainter::PanelPainter(const FamilyStyle& style) : style_(style) {}

QPointF PanelPainter::knobCentre(int dialId) {
  const ControlLayout& c = LayoutData::at(dialId);
  // Dials of one strip share the frame size of their first member; the knob is centred in it.
  const int stripOwner = c.image == 187 ? 1141 : c.image == 189 ? 1112 : 1078;
  const LayoutRect& frame = LayoutData::at(stripOwner).pixels;
  return QPointF(c.pixels.x + frame.width / 2.0, c.pixels.y + frame.height / 2.0);
}

QImage PanelPainter::plain() const {
  QImage img(kW, kH, QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(6, 6, 7));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  paintPlates(p);
  paintTrim(p);
  paintLogo(p);
  paintLibrary(p);
  paintAmplifier(p);
  paintSections(p);
  paintVent(p);
  paintScrews(p);
  p.end();
  return img;
}

QImage PanelPainter::finished(const QImage& plain) const {
  QImage img = plain;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  printAmpTypeNames(p);
  if (style_.printsCabinetCaption) printCabinetCaption(p, true);
  printFirstKnobCaption(p, style_.firstKnobCaption);
  p.end();
  return img;
}

void PanelPainter::paintPlates(QPainter& p) const {
  const QImage chassis = Texture::tolex(QSize(kW, kH), QColor(14, 14, 15), 0.8f, style_.seed + 5);
  p.drawImage(0, 0, chassis);
  auto plate = [&](const QRectF& r, const QImage& texture, double radius) {
    const QPainterPath path = roundedRect(r, radius);
    p.fillPath(path.translated(0, 1.5), QColor(0, 0, 0, 140));
    p.fillPath(path, QBrush(texture));
    QLinearGradient light(r.topLeft(), r.bottomLeft());
    light.setColorAt(0.0, QColor(255, 255, 255, 26));
    light.setColorAt(0.5, QColor(255, 255, 255, 0));
    light.setColorAt(1.0, QColor(0, 0, 0, 40));
    p.fillPath(path, light);
    p.strokePath(roundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius),
                 QPen(QColor(255, 255, 255, 40), 1.0));
    p.strokePath(path, QPen(QColor(0, 0, 0, 200), 1.0));
  };
  plate(kFace, faceTexture(style_), 6.0);
  plate(kHeader, headerTexture(style_), 6.0);
}

void PanelPainter::paintTrim(QPainter& p) const {
  // Piping between the amplifier strip and the faceplate.
  const QRectF trim(kHeader.left(), kHeader.bottom() - 0.5, kHeader.width(), 3.0);
  QLinearGradient g(trim.topLeft(), trim.bottomLeft());
  g.setColorAt(0.0, style_.trim.lighter(150));
  g.setColorAt(0.5, style_.trim);
  g.setColorAt(1.0, style_.trim.darker(200));
  p.fillRect(trim, g);
  p.fillRect(QRectF(trim.left(), trim.bottom(), trim.width(), 1.5), QColor(0, 0, 0, 150));
}

void PanelPainter::paintLogo(QPainter& p) const {
  const QRectF badge(14, 14, 132, 52);
  QImage sil(kW / 4, 120, QImage::Format_ARGB32_Premultiplied);
  sil.fill(Qt::transparent);
  {
    QPainter s(&sil);
    s.setRenderHint(QPainter::Antialiasing);
    s.fillPath(roundedRect(badge, 7), Qt::black);
  }
  p.drawImage(QPointF(1.0, 2.5), Texture::shadowOf(sil, 5, 0.8f));
  QLinearGradient rim(badge.topLeft(), badge.bottomLeft());
  rim.setColorAt(0.0, style_.trim.lighter(160));
  rim.setColorAt(0.5, style_.trim.darker(140));
  rim.setColorAt(1.0, style_.trim.lighter(120));
  p.fillPath(roundedRect(badge, 7), rim);
  const QRectF inner = badge.adjusted(2.5, 2.5, -2.5, -2.5);
  QLinearGradient field(inner.topLeft(), inner.bottomLeft());
  field.setColorAt(0.0, QColor(30, 30, 32));
  field.setColorAt(1.0, QColor(8, 8, 9));
  p.fillPath(roundedRect(inner, 5), field);

  QFont f = Lettering::font(40, true, 3.0);
  f.setItalic(true);
  QPainterPath word;
  word.addText(0, 0, f, "ORV");
  const QRectF wb = word.boundingRect();
  word.translate(inner.center().x() - wb.center().x(), inner.center().y() - wb.center().y());
  p.fillPath(word.translated(1.0, 1.6), QColor(0, 0, 0, 200));
  QLinearGradient chrome(word.boundingRect().topLeft(), word.boundingRect().bottomLeft());
  chrome.setColorAt(0.0, QColor(255, 255, 255));
  chrome.setColorAt(0.45, style_.accent.lighter(130));
  chrome.setColorAt(0.55, style_.accent.darker(150));
  chrome.setColorAt(1.0, style_.accent.lighter(110));
  p.fillPath(word, chrome);
  p.strokePath(word, QPen(QColor(0, 0, 0, 160), 0.7));

  const QColor ink = style_.headerInk;
  Lettering::print(p, QRectF(badge.left(), badge.bottom() + 4, badge.width(), 12), Qt::AlignCenter,
                   style_.tagline, Lettering::font(8.0, true, 1.2), ink, isLight(ink) ? 0.8 : -0.6);
}

void PanelPainter::paintLibrary(QPainter& p) const {
  const QRectF name = px(1077).adjusted(-4, -3, 4, 1);
  QRectF list = px(1012).united(px(1287)).united(px(1285)).united(px(1284));
  list.adjust(-5, -5, 5, 5);
  const QPainterPath well = roundedRect(name, 4).united(roundedRect(list, 5));
  paintRecess(p, well, style_.wellTint);
  // The slot where the list's scroll bar runs.
  const QRectF bar = px(1287).adjusted(-1, -12, 1, 12);
  p.fillRect(bar, QColor(0, 0, 0, 90));
  const QColor ink = style_.headerInk;
  Lettering::print(p, QRectF(name.left() + 1, name.top() - 13, 120, 12),
                   Qt::AlignLeft | Qt::AlignBottom, "LIBRARY", Lettering::font(9.0, true, 1.4), ink,
                   isLight(ink) ? 0.8 : -0.5);
  // Caption of the Save to Library button.
  const QRectF save = px(1004);
  Lettering::print(p, QRectF(save.right() + 5, save.top(), 150, save.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, "SAVE TO LIBRARY",
                   Lettering::font(9.0, true, 1.2), style_.panelInk, 0.8);
}

void PanelPainter::paintAmplifier(QPainter& p) const {
  const QColor ink = style_.headerInk;
  const double relief = isLight(ink) ? 0.8 : -0.6;
  // Patch name window.
  const QRectF name = px(1076).adjusted(-3, -1.5, 3, -0.5);
  paintRecess(p, roundedRect(name, 4), style_.wellTint);
  Lettering::print(p, QRectF(name.left() - 70, name.top(), 64, name.height()),
                   Qt::AlignRight | Qt::AlignVCenter, "PATCH", Lettering::font(9.0, true, 1.4), ink,
                   relief);
  // Amplifier-type selector: caption and the stops its pointer rests on.
  const QPointF selector = knobCentre(1078);
  if (style_.header == HeaderMaterial::Spruce) paintRosette(p, selector);
  printCaption(p, selector.x(), 63.5, style_.selectorCaption, ink, relief);
  QList<double> stops;
  const ImageInfo& strip = ImageInventory::at(188);
  const int positions = style_.skin->ampTypeCount;
  for (int v = 0; v < positions; ++v) {
    const int frame = int(std::floor((strip.cellCount - 1) * double(v) / (positions - 1) + 0.5));
    stops << KnobPainter::selectorAngle(frame, strip.cellCount);
  }
  KnobPainter::paintSelectorMarks(p, selector, 25.6, stops, ink);
  // Amplifier knobs: scales, end numbers and captions (the first caption is printed apart).
  const QStringList captions = {"", "MASTER", "BASS", "MIDDLE", "TREBLE"};
  const QFont numbers = Lettering::font(7.5, true);
  for (int i = 0; i < 5; ++i) {
    const QPointF c = knobCentre(1111 + i);
    KnobPainter::paintScale(p, c, 22.0, 25.0, 11, ink, 1.2);
    const QPointF lo = c + KnobPainter::direction(30) * 25.6;
    const QPointF hi = c + KnobPainter::direction(330) * 25.6;
    Lettering::print(p, QRectF(lo.x() - 12, lo.y() - 3, 10, 10), Qt::AlignRight | Qt::AlignVCenter,
                     "0", numbers, ink);
    Lettering::print(p, QRectF(hi.x() + 2, hi.y() - 3, 12, 10), Qt::AlignLeft | Qt::AlignVCenter,
                     "10", numbers, ink);
    if (!captions[i].isEmpty())
      printCaption(p, px(1101 + i).center().x(), kCaptionBaseline, captions[i], ink, relief);
  }
}

void PanelPainter::paintRosette(QPainter& p, QPointF centre) const {
  // Inlaid rings around the selector, as around the sound hole of an acoustic guitar.
  p.save();
  p.setBrush(Qt::NoBrush);
  const QColor dark = style_.panelBase.darker(140), light = style_.headerBase.lighter(118);
  p.setPen(QPen(dark, 1.2));
  p.drawEllipse(centre, 28.2, 28.2);
  p.setPen(QPen(light, 1.6));
  p.drawEllipse(centre, 29.5, 29.5);
  for (int i = 0; i < 72; ++i) {
    const QPointF d = KnobPainter::direction(i * 5.0);
    p.setPen(QPen(i % 2 ? dark : style_.accent, 1.3));
    p.drawLine(centre + d * 28.8, centre + d * 30.2);
  }
  p.setPen(QPen(dark, 1.2));
  p.drawEllipse(centre, 30.9, 30.9);
  p.restore();
}

void PanelPainter::paintSections(QPainter& p) const {
  // Engraved rules between the sections.
  for (double y : {225.5, 312.5, 400.5, 489.5}) {
    p.fillRect(QRectF(198, y, 594, 1), QColor(0, 0, 0, 170));
    p.fillRect(QRectF(198, y + 1, 594, 1), QColor(255, 255, 255, 28));
  }
  const QStringList captions = {"COMPRESSOR", "EFFECT", style_.delayCaption, "REVERB",
                                "NOISE GATE"};
  const QFont f = Lettering::font(11.0, true, 1.3);
  const QFontMetricsF m(f);
  for (int i = 0; i < 5; ++i) {
    const QRectF sw = px(1019 + i);
    const bool hasChooser = i != 2 && i != 4;  // the delay's chooser is hidden, the gate has none
    const double baseline = hasChooser ? sw.top() + 13.0 : sw.center().y() + 4.0;
    const double left = px(1033).left() + 2.0;
    p.save();
    p.setFont(f);
    p.setPen(QColor(0, 0, 0, 150));
    p.drawText(QPointF(left + 0.6, baseline + 1.0), captions[i]);
    p.setPen(style_.panelInk);
    p.drawText(QPointF(left, baseline), captions[i]);
    p.restore();
    const double width = m.horizontalAdvance(captions[i]) - 1.3;
    p.fillRect(QRectF(left, baseline + 3.0, width, 1.4), style_.accent);
  }
}

void PanelPainter::paintVent(QPainter& p) const {
  // Perforated grille in the free corner above the connection indicator.
  const QRectF lamp = px(1273);
  const QRectF grille(lamp.left() - 118.5, 497.5, lamp.right() - 4 - (lamp.left() - 118.5), 54.0);
  const QPainterPath frame = roundedRect(grille, 5);
  paintRecess(p, frame, style_.trim.darker(330));
  p.save();
  p.setClipPath(roundedRect(grille.adjusted(3, 3, -3, -3), 3));
  const double pitch = 5.2, rowStep = pitch * 0.866;
  int row = 0;
  for (double y = grille.top() + 4.0; y < grille.bottom() - 2.0; y += rowStep, ++row) {
    for (double x = grille.left() + 4.0 + (row % 2) * pitch / 2; x < grille.right() - 2.0;
         x += pitch) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 34));
      p.drawEllipse(QPointF(x + 0.3, y + 0.7), 1.75, 1.75);
      p.setBrush(QColor(0, 0, 0));
      p.drawEllipse(QPointF(x, y), 1.7, 1.7);
    }
  }
  p.restore();
  p.strokePath(roundedRect(grille.adjusted(-1, -1, 1, 1), 6), QPen(style_.trim.darker(130), 1.0));
}

void PanelPainter::paintScrews(QPainter& p) const {
  for (QPointF c : {QPointF(11, 11), QPointF(789, 11), QPointF(789, 122), QPointF(789, 589)})
    paintScrew(p, c, style_.trim);
}

void PanelPainter::printCaption(QPainter& p, double centreX, double baseline, const QString& text,
                                const QColor& ink, double relief) const {
  const QFont f = Lettering::font(kCaptionSize, true, 1.0);
  const double width = QFontMetricsF(f).horizontalAdvance(text) - 1.0;
  p.save();
  p.setFont(f);
  const QPointF at(std::round(centreX - width / 2.0), baseline);
  if (relief > 0) {
    p.setPen(QColor(0, 0, 0, int(110 * relief)));
    p.drawText(at + QPointF(0.6, 0.9), text);
  } else if (relief < 0) {
    p.setPen(QColor(255, 255, 255, int(-110 * relief)));
    p.drawText(at + QPointF(0.0, 0.9), text);
  }
  p.setPen(ink);
  p.drawText(at, text);
  p.restore();
}

void PanelPainter::printAmpTypeNames(QPainter& p) const {
  const ModelSkin& skin = *style_.skin;
  for (int type = 0; type < 8; ++type) {
    if (skin.ampTypeLabels[type] == 0) continue;
    const LayoutRect r = skin.labelRect(type);
    Lettering::legend(p, QRectF(r.x, r.y, r.width, 14), style_.ampNames[type], style_, false);
  }
}

void PanelPainter::printCabinetCaption(QPainter& p, bool available) const {
  const QColor ink = style_.headerInk;
  const bool light = isLight(style_.headerBase);
  QColor shown = ink;
  if (!available) {
    // Faded into the plate: the caption of a cabinet that is out of use.
    const QColor& b = style_.headerBase;
    shown = QColor((ink.red() + 2 * b.red()) / 3, (ink.green() + 2 * b.green()) / 3,
                   (ink.blue() + 2 * b.blue()) / 3);
  }
  printCaption(p, px(1099).left() + ImageInventory::at(225).width / 2.0, kCaptionBaseline,
               "CABINET", shown, available ? (light ? -0.8 : 0.6) : 0.0);
}

void PanelPainter::printFirstKnobCaption(QPainter& p, const QString& text) const {
  const QColor ink = style_.headerInk;
  printCaption(p, px(1101).center().x(), kCaptionBaseline, text, ink, isLight(ink) ? 0.8 : -0.6);
}

}  // namespace orv
