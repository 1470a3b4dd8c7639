#include "SkinGenerator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <cstring>

#include "FamilyStyle.h"
#include "IconPainter.h"
#include "KnobPainter.h"
#include "Lettering.h"
#include "ListPainter.h"
#include "PanelPainter.h"
#include "SpritePainter.h"
#include "Texture.h"
#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"
#include "skin/SkinPixels.h"

namespace orv {
namespace {

constexpr int kPngQuality = 100;  // Qt's scale: 0 = smallest file, 100 = fastest to decode

QSize pixelSize(int controlId) {
  const LayoutRect& r = LayoutData::at(controlId).pixels;
  return {r.width, r.height};
}

QRect pixelRect(const LayoutRect& r) {
  return QRect(r.x, r.y, r.width, r.height);
}

QImage toFormat(const QImage& img, int id) {
  const bool alpha = ImageInventory::at(id).format == ImageFormat::Rgba;
  return Texture::stored(img, alpha);
}

// A piece of a panel, with `paint` drawn over it in panel coordinates.
template <class F>
QImage cutOut(const QImage& panel, QRect where, F&& paint) {
  QImage piece = panel.copy(where);
  QPainter p(&piece);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.translate(-where.topLeft());
  paint(p);
  return piece;
}

QImage litLabel(const ImageInfo& info, const QString& name, const FamilyStyle& style) {
  QImage img(info.width, info.height, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::TextAntialiasing);
  Lettering::legend(p, QRectF(0, 0, info.width, info.height), name, style, true);
  return img;
}

void renderFamily(const FamilyStyle& style, SkinGenerator::Images& out) {
  const ModelSkin& skin = *style.skin;
  const PanelPainter painter(style);
  const QImage plain = painter.plain();
  out[skin.background] = toFormat(painter.finished(plain), skin.background);

  const ImageInfo& lamp = ImageInventory::at(skin.connectionIndicator);
  const LayoutRect& lampAt = LayoutData::at(1273).pixels;
  const QImage under = plain.copy(lampAt.x, lampAt.y, lamp.width, lamp.cellHeight);
  out[lamp.id] = SpritePainter::connectionIndicator(lamp, under, pixelSize(1273), style);

  for (int type = 0; type < 8; ++type) {
    const int id = skin.ampTypeLabels[type];
    if (id) out[id] = toFormat(litLabel(ImageInventory::at(id), style.ampNames[type], style), id);
  }
  if (style.printsCabinetCaption) {
    const ImageInfo& cab = ImageInventory::at(skin.cabinetCaption);
    const LayoutRect& at = LayoutData::at(1099).pixels;
    out[cab.id] = toFormat(cutOut(plain, QRect(at.x, at.y, cab.width, cab.height),
                                  [&](QPainter& p) { painter.printCabinetCaption(p, false); }),
                           cab.id);
  }
  const ModelSkin& unidentified = ModelSkin::forModel('0');
  if (unidentified.coversUpperLabels && unidentified.background == skin.background) {
    // Before a device is identified only five types exist: the covers restore the plain panel
    // over the names of types 5..7.
    for (int type = 5; type < 8; ++type) {
      const int id = 220 + type - 5;
      const ImageInfo& cover = ImageInventory::at(id);
      const LayoutRect r = skin.labelRect(type);
      out[id] = toFormat(plain.copy(r.x, r.y, cover.width, cover.height), id);
    }
  }
  if (!skin.hasCabinet) {
    // Model 4 captions its first knob BLEND; with the electric-guitar type it reads GAIN.
    const ImageInfo& gain = ImageInventory::at(240);
    const LayoutRect& at = LayoutData::at(1100).pixels;
    out[240] = toFormat(cutOut(plain, QRect(at.x, at.y, gain.width, gain.height),
                               [&](QPainter& p) { painter.printFirstKnobCaption(p, "GAIN"); }),
                        240);
  }
}

void renderControls(SkinGenerator::Images& out) {
  const auto inv = &ImageInventory::at;
  out[187] = KnobPainter::smallStrip(inv(187), pixelSize(1141));
  out[188] = KnobPainter::selectorStrip(inv(188), pixelSize(1078));
  out[189] = KnobPainter::ampStrip(inv(189), pixelSize(1112));
  out[185] = SpritePainter::libraryButton(inv(185), true);
  out[191] = SpritePainter::libraryButton(inv(191), false);
  out[190] = SpritePainter::numberPlate(inv(190));
  out[192] = SpritePainter::sectionSwitch(inv(192), pixelSize(1019), QColor(255, 150, 24));
  out[263] = SpritePainter::sectionSwitch(inv(263), pixelSize(1019), QColor(255, 44, 32));
  out[212] = SpritePainter::pullDown(inv(212));
  out[213] = SpritePainter::pullDown(inv(213));
  const QPointF ratioKnob =
      PanelPainter::knobCentre(1144) - QPointF(pixelRect(LayoutData::at(1276).pixels).topLeft());
  out[193] =
      SpritePainter::ratioScale(inv(193), ratioKnob, QColor(226, 226, 230), QColor(255, 174, 0));
  out[254] =
      SpritePainter::ratioScale(inv(254), ratioKnob, QColor(226, 226, 230), QColor(255, 52, 40));
  const int rowHeight = 19, groove = 8;  // the list's rows; the bar's thumb width
  out[183] = ListPainter::row(inv(183), QColor(22, 22, 24), rowHeight);
  out[184] = ListPainter::row(inv(184), QColor(34, 22, 14), rowHeight);
  out[232] = ListPainter::track(inv(232), QColor(12, 12, 14), groove);
  out[231] = ListPainter::track(inv(231), QColor(22, 14, 9), groove);
  out[203] = ListPainter::thumb(inv(203), QColor(12, 12, 14));
  out[204] = ListPainter::arrow(inv(204), false);
  out[205] = ListPainter::arrow(inv(205), true);
}

QString iconPath(const QString& dir, IconPainter::Kind kind, int size) {
  return QDir(dir).filePath(QString("hicolor/%1x%1/%2/%3.png")
                                .arg(size)
                                .arg(IconPainter::context(kind), IconPainter::name(kind)));
}

// The pixels of one image as the painter draws them: premultiplied when it has alpha.
QByteArray drawablePixels(const QImage& img) {
  QByteArray bytes(qsizetype(img.width()) * img.height() * 4, Qt::Uninitialized);
  auto* out = reinterpret_cast<QRgb*>(bytes.data());
  const bool alpha = img.hasAlphaChannel();
  for (int y = 0; y < img.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      *out++ = alpha ? qPremultiply(line[x]) : (line[x] | 0xFF000000u);
  }
  return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString& error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    error = QString("cannot write %1").arg(path);
    return false;
  }
  return true;
}

QString qrcEntry(const QString& alias, const QString& file) {
  return QString("    <file alias=\"%1\">%2</file>\n")
      .arg(alias, QFileInfo(file).absoluteFilePath().toHtmlEscaped());
}

}  // namespace

SkinGenerator::Images SkinGenerator::renderAll() {
  Images out;
  for (const FamilyStyle& style : FamilyStyle::all()) renderFamily(style, out);
  renderControls(out);
  for (auto& [id, img] : out) img = toFormat(img, id);
  return out;
}

QString SkinGenerator::verify(const Images& images) {
  for (const ImageInfo& info : ImageInventory::images()) {
    const auto it = images.find(info.id);
    if (it == images.end()) return QString("image %1 was not rendered").arg(info.id);
    const QImage& img = it->second;
    if (img.width() != info.width || img.height() != info.height)
      return QString("image %1 is %2 x %3, not %4 x %5")
          .arg(info.id)
          .arg(img.width())
          .arg(img.height())
          .arg(info.width)
          .arg(info.height);
  }
  if (images.size() != ImageInventory::images().size())
    return QString("%1 images rendered, the inventory has %2")
        .arg(images.size())
        .arg(ImageInventory::images().size());
  return {};
}

bool SkinGenerator::writePngs(const Images& images, const QString& dir, QString& error) {
  if (!QDir().mkpath(dir)) {
    error = QString("cannot create %1").arg(dir);
    return false;
  }
  for (const auto& [id, img] : images) {
    const QString path = QDir(dir).filePath(QString("%1.png").arg(id));
    QSaveFile file(path);
    // A light compression keeps the build quick; the noise of the textures compresses poorly.
    if (!file.open(QIODevice::WriteOnly) || !img.save(&file, "PNG", kPngQuality) ||
        !file.commit()) {
      error = QString("cannot write %1").arg(path);
      return false;
    }
  }
  return true;
}

QByteArray SkinGenerator::pixelStore(const Images& images) {
  SkinPixels::Header header{};
  std::memcpy(header.magic, SkinPixels::kMagic, sizeof header.magic);
  header.count = uint32_t(images.size());
  QByteArray table, pixels;
  const qsizetype start = qsizetype(sizeof header + images.size() * sizeof(SkinPixels::Entry));
  for (const auto& [id, img] : images) {
    while ((start + pixels.size()) % 16) pixels.append('\0');
    SkinPixels::Entry e{id,
                        img.width(),
                        img.height(),
                        img.width() * 4,
                        img.hasAlphaChannel() ? 1u : 0u,
                        0,
                        uint64_t(start + pixels.size())};
    table.append(reinterpret_cast<const char*>(&e), sizeof e);
    pixels.append(drawablePixels(img));
  }
  return QByteArray(reinterpret_cast<const char*>(&header), sizeof header) + table + pixels;
}

SkinGenerator::Images SkinGenerator::withApplicationIcon(Images images) {
  for (int size : IconPainter::sizes())
    images[SkinPixels::applicationIcon(size)] =
        IconPainter::paint(IconPainter::Kind::Application, size);
  return images;
}

bool SkinGenerator::writePixels(const Images& images, const QString& binPath,
                                const QString& cppPath, QString& error) {
  const QByteArray store = pixelStore(images);
  if (!writeFile(binPath, store, error)) return false;
  const QString digest =
      QString::fromLatin1(QCryptographicHash::hash(store, QCryptographicHash::Sha256).toHex());
  const QString source =
      QString(
          "// Generated by orv-skingen: links the panel's ready pixels into the program.\n"
          "extern \"C\" const char orv_skin_pixels_digest[] = \"%1\";\n"
          "__asm__(\".section .rodata\\n.balign 64\\n.global orv_skin_pixels\\n"
          "orv_skin_pixels:\\n.incbin \\\"%2\\\"\\n.global orv_skin_pixels_end\\n"
          "orv_skin_pixels_end:\\n.previous\\n\");\n")
          .arg(digest, QFileInfo(binPath).absoluteFilePath());
  return writeFile(cppPath, source.toUtf8(), error);
}

bool SkinGenerator::writeIcons(const QString& dir, QString& error) {
  using Kind = IconPainter::Kind;
  for (Kind kind : {Kind::Application, Kind::Library, Kind::Patch}) {
    for (int size : IconPainter::sizes()) {
      const QString path = iconPath(dir, kind, size);
      if (!QDir().mkpath(QFileInfo(path).path())) {
        error = QString("cannot create %1").arg(QFileInfo(path).path());
        return false;
      }
      QSaveFile file(path);
      if (!file.open(QIODevice::WriteOnly) || !IconPainter::paint(kind, size).save(&file, "PNG") ||
          !file.commit()) {
        error = QString("cannot write %1").arg(path);
        return false;
      }
    }
  }
  return true;
}

bool SkinGenerator::writeQrc(const Images& images, const QString& dir, const QString& qrcPath,
                             QString& error, const QString& iconDir) {
  QString text = "<RCC>\n  <qresource prefix=\"/png\">\n";
  for (const auto& entry : images) {
    const int id = entry.first;
    text += qrcEntry(QString("%1.png").arg(id), QDir(dir).filePath(QString("%1.png").arg(id)));
  }
  text += "  </qresource>\n";
  if (!iconDir.isEmpty()) {
    text += "  <qresource prefix=\"/icons\">\n";
    for (int size : IconPainter::sizes())
      text += qrcEntry(QString("orv-editor-%1.png").arg(size),
                       iconPath(iconDir, IconPainter::Kind::Application, size));
    text += "  </qresource>\n";
  }
  text += "</RCC>\n";
  QSaveFile out(qrcPath);
  if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit()) {
    error = QString("cannot write %1").arg(qrcPath);
    return false;
  }
  return true;
}

}  // namespace orv
