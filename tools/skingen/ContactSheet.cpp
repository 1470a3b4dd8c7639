#include "ContactSheet.h"

#include <QPainter>
#include <cmath>

#include "KnobPainter.h"
#include "Lettering.h"
#include "Texture.h"
#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"
#include "skin/ModelSkin.h"

namespace orv {
namespace {

const QColor kAmber(255, 174, 0);
constexpr int kGap = 24, kTitle = 30;

QRect rectOf(int id) {
  const LayoutRect& r = LayoutData::at(id).pixels;
  return QRect(r.x, r.y, r.width, r.height);
}

// The sample state the previews show.
struct Sample {
  char model;
  int ampType;
  bool connected;
  std::array<bool, 5> sections;
};

const std::array<Sample, 5> kSamples = {{{'0', 0, false, {false, false, false, false, false}},
                                         {'1', 2, true, {true, true, false, true, false}},
                                         {'2', 4, true, {true, false, true, true, true}},
                                         {'3', 6, true, {false, true, true, true, false}},
                                         {'4', 0, true, {true, true, false, true, false}}}};

const Sample& sampleFor(char model) {
  for (const Sample& s : kSamples)
    if (s.model == model) return s;
  return kSamples[0];
}

// A value fraction that differs from knob to knob.
double sampleFraction(int id) {
  return std::fmod(id * 0.618034, 1.0);
}

void drawCell(QPainter& p, const QImage& sprite, QPoint at, QSize size, int cellY) {
  p.drawImage(QRect(at, size), sprite, QRect(QPoint(0, cellY), size));
}

class Preview {
 public:
  Preview(const SkinGenerator::Images& images, const Sample& sample)
      : images_(images), sample_(sample), skin_(ModelSkin::forModel(sample.model)) {}

  QImage render() {
    QImage panel = Texture::stored(images_.at(skin_.background), false);
    QPainter p(&panel);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawDials(p);
    drawPictures(p);
    drawButtons(p);
    drawPullDowns(p);
    drawDisplays(p);
    drawLabels(p);
    drawLibrary(p);
    return panel;
  }

 private:
  bool hidden(int id) const {
    if (id == 1134 || id == 1035) return true;
    if (!skin_.delayHasCuts && (id == 1203 || id == 1204 || id == 1193 || id == 1194)) return true;
    return false;
  }

  // The delay's Level column moves one column left when the cut knobs are missing.
  QRect placed(int id) const {
    QRect r = rectOf(id);
    if (!skin_.delayHasCuts && (id == 1205 || id == 1195 || id == 1215))
      r.moveLeft(rectOf(id - 2).left());
    return r;
  }

  void drawDials(QPainter& p) {
    for (const ControlLayout& c : LayoutData::controls()) {
      if (c.kind != ControlKind::Dial || hidden(c.id)) continue;
      const ImageInfo& strip = ImageInventory::at(c.image);
      int frame;
      if (c.id == 1078)
        frame = int(
            std::floor((strip.cellCount - 1) * double(sample_.ampType) / skin_.ampTypeMax() + 0.5));
      else if (c.id == 1144)
        frame = 10 * 3;  // ratio 1:12
      else
        frame = int((strip.cellCount - 1) * sampleFraction(c.id) + 0.5);
      const QRect r = placed(c.id);
      drawCell(p, images_.at(c.image), r.topLeft(), r.size(), frame * strip.cellHeight);
    }
  }

  void drawPicture(QPainter& p, int controlId, int imageId) {
    const QRect r = rectOf(controlId);
    p.drawImage(r.topLeft(), images_.at(imageId), QRect(QPoint(0, 0), r.size()));
  }

  void drawPictures(QPainter& p) {
    if (skin_.coversUpperLabels)
      for (int i = 0; i < 3; ++i) drawPicture(p, 1095 + i, 220 + i);
    if (skin_.hasCabinet && sample_.ampType >= 5) drawPicture(p, 1099, skin_.cabinetCaption);
    if (!skin_.hasCabinet && sample_.ampType == 0) drawPicture(p, 1100, 240);
    drawPicture(p, 1276, skin_.ratioScale);
    // The ratio knob sits on its scale.
    const ImageInfo& strip = ImageInventory::at(187);
    const QRect r = rectOf(1144);
    drawCell(p, images_.at(187), r.topLeft(), r.size(), 30 * strip.cellHeight);
  }

  void drawButtons(QPainter& p) {
    const LayoutRect label = skin_.labelRect(sample_.ampType);
    drawCell(p, images_.at(skin_.ampTypeLabels[sample_.ampType]), QPoint(label.x, label.y),
             QSize(label.width, label.height), 0);
    const ImageInfo& sw = ImageInventory::at(skin_.sectionSwitch);
    for (int i = 0; i < 5; ++i) {
      const QRect r = rectOf(1019 + i);
      const int cell = sample_.sections[i] ? 5 : 0;  // normal-on, normal-off
      drawCell(p, images_.at(sw.id), r.topLeft(), r.size(), cell * sw.cellHeight);
    }
    const QRect save = rectOf(1004);
    drawCell(p, images_.at(185), save.topLeft(), save.size(), sample_.connected ? 24 : 0);
    const QRect lamp = rectOf(1273);
    drawCell(p, images_.at(skin_.connectionIndicator), lamp.topLeft(), lamp.size(),
             sample_.connected ? 41 : 0);
  }

  void drawPullDown(QPainter& p, int id, const QString& text, bool enabled) {
    const QRect r = rectOf(id);
    const ImageInfo& sprite = ImageInventory::at(LayoutData::at(id).image);
    drawCell(p, images_.at(sprite.id), r.topLeft(), r.size(), enabled ? 72 : 0);
    p.setFont(Lettering::font(id == 1117 || id == 1147 ? 10 : 12, false));
    p.setPen(enabled ? kAmber : QColor(64, 44, 0));
    p.drawText(r.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
  }

  void drawPullDowns(QPainter& p) {
    const auto& on = sample_.sections;
    drawPullDown(p, 1033, "Rack", on[0]);
    drawPullDown(p, 1034, "Flanger", on[1]);
    drawPullDown(p, 1036, "Hall", on[3]);
    drawPullDown(p, 1147, "Medium", on[0]);
    const char* cabinets[] = {"American 4x12", "American 4x12", "Fuel 4x12", "Brit Blues 2x12", ""};
    if (skin_.hasCabinet && sample_.ampType < 5)
      drawPullDown(p, 1117, cabinets[sample_.model - '0'], true);
  }

  void drawDisplays(QPainter& p) {
    p.setFont(Lettering::font(11, false));
    for (const ControlLayout& c : LayoutData::controls()) {
      if (c.kind != ControlKind::NumberDisplay || hidden(c.id)) continue;
      const QRect r = placed(c.id);
      p.drawImage(r.topLeft(), images_.at(190));
      const int dial = c.id + 10;  // the dial under the display
      p.setPen(kAmber);
      p.drawText(r, Qt::AlignCenter, QString::number(sampleFraction(dial) * 10.0, 'f', 1));
    }
  }

  void drawLabels(QPainter& p) {
    const QStringList compressor = {"Threshold", "Attack", "Release", "Ratio", "Knee", "Output"};
    const QStringList effect = {"Speed", "Manual", "Depth", "Feedback", "Spread"};
    p.setFont(Lettering::font(10, false));
    p.setPen(Qt::white);
    for (const ControlLayout& c : LayoutData::controls()) {
      if (c.kind != ControlKind::Label) continue;
      if (!skin_.delayHasCuts && (c.id == 1213 || c.id == 1214)) continue;
      QString text = QString::fromUtf8(c.text.data(), int(c.text.size()));
      if (c.id >= 1151 && c.id <= 1156) text = compressor[c.id - 1151];
      if (c.id >= 1181 && c.id <= 1185) text = effect[c.id - 1181];
      p.drawText(placed(c.id).adjusted(-10, 0, 10, 10), Qt::AlignHCenter | Qt::AlignTop, text);
    }
    p.setFont(Lettering::font(12, false));
    p.drawText(rectOf(1076), Qt::AlignCenter, "Glassy Clean Machine");
  }

  void drawLibrary(QPainter& p) {
    const QRect list = rectOf(1012);
    const QImage& row = images_.at(skin_.listRow);
    p.save();
    p.setClipRect(list);
    p.setFont(Lettering::font(12, false));
    const QStringList names = {"Glassy Clean Machine", "Warm Crunch", "Lead Stack",
                               "Brit Hi 800",          "Modern Chug", "Bass DI",
                               "Acoustic Jumbo",       "Flat Line"};
    for (int i = 0; i * 19 < list.height(); ++i) {
      const QRect r(list.left(), list.top() + i * 19, list.width(), 19);
      p.drawImage(r.topLeft(), row, QRect(0, 0, r.width(), r.height()));
      if (r.bottom() >= list.bottom()) continue;  // a cut-off row shows no text
      p.setPen(i == 2 ? kAmber : Qt::white);
      p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                 QString("%1 %2").arg(i + 1, 3, 10, QChar('0')).arg(names[i % names.size()]));
    }
    p.restore();
    const QRect bar = rectOf(1287);
    p.drawImage(QRect(bar.left(), bar.top(), 8, bar.height()), images_.at(skin_.scrollTrack),
                QRect(0, 1, 8, bar.height()));
    const int thumb = bar.height() / (100 * 19 / bar.height());
    p.drawImage(QRect(bar.left() + 1, bar.top() + 1 + 40, 8, thumb), images_.at(203));
    p.drawImage(rectOf(1285).topLeft(), images_.at(205), QRect(0, 0, 12, 11));
    p.drawImage(rectOf(1284).topLeft(), images_.at(204), QRect(0, 0, 12, 11));
    p.setFont(Lettering::font(14, false));
    p.setPen(Qt::white);
    p.drawText(rectOf(1077), Qt::AlignLeft | Qt::AlignVCenter, "Factory Library.ZBL");
  }

  const SkinGenerator::Images& images_;
  const Sample& sample_;
  const ModelSkin& skin_;
};

void title(QPainter& p, QPoint at, const QString& text) {
  p.setPen(QColor(230, 230, 230));
  p.setFont(Lettering::font(16, true, 0.5));
  p.drawText(QRect(at, QSize(1200, kTitle)), Qt::AlignLeft | Qt::AlignVCenter, text);
}

// Every frame of a strip (or cell of a sprite) side by side, `columns` to a row, at `scale`.
int drawStrip(QPainter& p, const QImage& strip, const ImageInfo& info, QPoint at, int columns,
              int scale) {
  const int w = info.width * scale, h = info.cellHeight * scale;
  for (int i = 0; i < info.cellCount; ++i) {
    const QRect target(at.x() + (i % columns) * (w + 6), at.y() + (i / columns) * (h + 6), w, h);
    p.drawImage(target, strip, QRect(0, i * info.cellHeight, info.width, info.cellHeight));
  }
  const int rows = (info.cellCount + columns - 1) / columns;
  return rows * (h + 6);
}

}  // namespace

QImage ContactSheet::panelPreview(const SkinGenerator::Images& images, char model) {
  return Preview(images, sampleFor(model)).render();
}

QImage ContactSheet::compose(const SkinGenerator::Images& images) {
  const int panelW = LayoutData::kClientWidth, panelH = LayoutData::kClientHeight;
  const int width = 3 * panelW + 4 * kGap;
  const int stripsTop = 2 * (panelH + kTitle + kGap) + kGap;
  QImage sheet(width, stripsTop + 1150, QImage::Format_RGB32);
  sheet.fill(QColor(52, 54, 58));
  QPainter p(&sheet);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (int i = 0; i < 5; ++i) {
    const char model = char('0' + i);
    const QPoint at(kGap + (i % 3) * (panelW + kGap), kGap + (i / 3) * (panelH + kTitle + kGap));
    const int background = ModelSkin::forModel(model).background;
    title(p, at,
          QString("Model '%1'  -  background %2%3")
              .arg(model)
              .arg(background)
              .arg(i == 0 ? "  (no device identified)" : ""));
    p.drawImage(at + QPoint(0, kTitle), panelPreview(images, model));
  }
  // The sixth place: every sprite, cell by cell, at twice the size.
  QPoint at(kGap + 2 * (panelW + kGap), kGap + panelH + kTitle + kGap);
  title(p, at, "Sprites (x2)");
  int y = at.y() + kTitle, x = at.x();
  for (int id : {192, 263})
    y += drawStrip(p, images.at(id), ImageInventory::at(id), QPoint(x, y), 6, 2);
  for (int id : {213, 212})
    y += drawStrip(p, images.at(id), ImageInventory::at(id), QPoint(x, y), 4, 2);
  int sx = x;
  for (int id : {185, 191, 204, 205}) {
    drawStrip(p, images.at(id), ImageInventory::at(id), QPoint(sx, y), 4, 2);
    sx += 4 * (ImageInventory::at(id).width * 2 + 6) + 12;
  }
  y += 56;
  p.drawImage(QRect(x, y, 84, 34), images.at(190));
  p.drawImage(QRect(x + 100, y, 192, 114), images.at(193));
  p.drawImage(QRect(x + 310, y, 192, 114), images.at(254));
  p.drawImage(QRect(x + 520, y, 16, 202), images.at(203));
  p.drawImage(QRect(x + 550, y, 26, 200), images.at(232), QRect(0, 0, 13, 100));
  p.drawImage(QRect(x + 590, y, 26, 200), images.at(231), QRect(0, 0, 13, 100));
  p.drawImage(QRect(x + 630, y, 150, 19 * 2), images.at(183), QRect(0, 0, 75, 19));
  p.drawImage(QRect(x + 630, y + 50, 150, 19 * 2), images.at(184), QRect(0, 0, 75, 19));

  y = stripsTop;
  title(p, QPoint(kGap, y), "Knob strips (x2): small 187, amplifier 189, amplifier type 188");
  y += kTitle;
  y += drawStrip(p, images.at(187), ImageInventory::at(187), QPoint(kGap, y), 26, 2);
  y += drawStrip(p, images.at(189), ImageInventory::at(189), QPoint(kGap, y), 20, 2);
  y += drawStrip(p, images.at(188), ImageInventory::at(188), QPoint(kGap, y), 10, 2);

  title(p, QPoint(kGap, y), "Lit amplifier-type names (x2) and connection indicators");
  y += kTitle;
  for (const ModelSkin& skin : ModelSkin::all()) {
    if (skin.model == '0') continue;  // the default skin serves '0' and '1'
    int nx = kGap;
    for (int id : skin.ampTypeLabels) {
      if (!id) continue;
      const QImage& name = images.at(id);
      p.fillRect(QRect(nx, y, name.width() * 2, name.height() * 2), QColor(24, 24, 26));
      p.drawImage(QRect(nx, y, name.width() * 2, name.height() * 2), name);
      nx += name.width() * 2 + 8;
    }
    const ImageInfo& lamp = ImageInventory::at(skin.connectionIndicator);
    drawStrip(p, images.at(lamp.id), lamp, QPoint(nx + 20, y - 6), 2, 1);
    y += 50;
  }
  p.end();
  return sheet.copy(0, 0, width, std::min(sheet.height(), y + kGap));
}

}  // namespace orv
