// The compiled-in art: every image of the inventory as :/png/<id>.png at its exact size, pixel
// format and cell geometry, and the properties the controls rely on when they cut cells out of it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <set>

#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"
#include "skin/ModelSkin.h"
#include "skin/SkinResources.h"

namespace orv {
namespace {

class SkinImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { SkinResources::init(); }

  static QImage load(int id) {
    QImage img(QString::fromStdString(ImageInventory::resourcePath(id)));
    return img.convertToFormat(QImage::Format_ARGB32);
  }

  static QImage cell(const QImage& img, int id, int index) {
    const ImageInfo& s = ImageInventory::at(id);
    return img.copy(0, index * s.cellHeight, s.width, s.cellHeight);
  }

  static QRect pixels(int controlId) {
    const LayoutRect& r = LayoutData::at(controlId).pixels;
    return QRect(r.x, r.y, r.width, r.height);
  }

  static int visiblePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
    return n;
  }
};

// Width, height, bit depth and colour type straight from the PNG header.
struct PngHeader {
  quint32 width = 0, height = 0;
  int bitDepth = 0, colourType = -1;
};

PngHeader readHeader(const QString& path) {
  QFile f(path);
  PngHeader h;
  if (!f.open(QIODevice::ReadOnly)) return h;
  const QByteArray b = f.read(26);
  if (b.size() < 26 || !b.startsWith("\x89PNG\r\n\x1a\n") || b.mid(12, 4) != "IHDR") return h;
  auto be32 = [&](int at) {
    return quint32(uchar(b[at])) << 24 | quint32(uchar(b[at + 1])) << 16 |
           quint32(uchar(b[at + 2])) << 8 | quint32(uchar(b[at + 3]));
  };
  h.width = be32(16);
  h.height = be32(20);
  h.bitDepth = uchar(b[24]);
  h.colourType = uchar(b[25]);
  return h;
}

TEST(ImageInventoryTable, ListsSixtyThreeImagesWithWholeCells) {
  const auto images = ImageInventory::images();
  ASSERT_EQ(images.size(), std::size_t(ImageInventory::kImageCount));
  int previous = 0;
  for (const ImageInfo& s : images) {
    SCOPED_TRACE(s.id);
    EXPECT_GT(s.id, previous);  // sorted, so lookups by id work
    previous = s.id;
    EXPECT_EQ(s.height, s.cellHeight * s.cellCount);
    EXPECT_EQ(ImageInventory::find(s.id), &s);
  }
  EXPECT_EQ(ImageInventory::find(202), nullptr);
  EXPECT_EQ(ImageInventory::at(187).cellCount, 51);
  EXPECT_EQ(ImageInventory::at(188).cellHeight, 55);
  EXPECT_EQ(ImageInventory::at(192).cellHeight, 46);
  EXPECT_EQ(ImageInventory::resourcePath(216), ":/png/216.png");
}

TEST_F(SkinImages, EveryImageIsCompiledInAtItsSizeAndFormat) {
  for (const ImageInfo& s : ImageInventory::images()) {
    SCOPED_TRACE(s.id);
    const QString path = QString::fromStdString(ImageInventory::resourcePath(s.id));
    ASSERT_TRUE(QFile::exists(path));
    const PngHeader h = readHeader(path);
    EXPECT_EQ(h.width, quint32(s.width));
    EXPECT_EQ(h.height, quint32(s.height));
    EXPECT_EQ(h.bitDepth, 8);
    EXPECT_EQ(h.colourType, s.format == ImageFormat::Rgba ? 6 : 2);  // RGBA : RGB
    const QImage img(path);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(s.width, s.height));
    EXPECT_EQ(img.hasAlphaChannel(), s.format == ImageFormat::Rgba);
  }
}

TEST_F(SkinImages, NoImageBesidesTheInventory) {
  std::set<QString> expected;
  for (const ImageInfo& s : ImageInventory::images()) expected.insert(QString("%1.png").arg(s.id));
  const QStringList present = QDir(":/png").entryList(QDir::Files);
  EXPECT_EQ(std::set<QString>(present.begin(), present.end()), expected);
}

TEST_F(SkinImages, EverySpriteCellHasAFaceAndStatesLookDifferent) {
  for (int id : {185, 186, 191, 192, 204, 205, 212, 213, 234, 242, 253, 263}) {
    SCOPED_TRACE(id);
    const QImage img = load(id);
    const ImageInfo& s = ImageInventory::at(id);
    for (int i = 0; i < s.cellCount; ++i) {
      EXPECT_GT(visiblePixels(cell(img, id, i)), s.width * s.cellHeight / 8) << "cell " << i;
      for (int j = i + 1; j < s.cellCount; ++j)
        EXPECT_NE(cell(img, id, i), cell(img, id, j)) << "cells " << i << " and " << j;
    }
  }
}

// Frames are stacked at the stride and the knob stays put: the alpha-weighted centre of every
// frame is the centre of the area the dial draws.
TEST_F(SkinImages, KnobFramesAreAlignedOnTheDialsCentre) {
  for (auto [strip, dial] : {std::pair{187, 1141}, std::pair{189, 1112}}) {
    SCOPED_TRACE(strip);
    const QImage img = load(strip);
    const ImageInfo& s = ImageInventory::at(strip);
    const QRect area = pixels(dial);
    for (int f = 0; f < s.cellCount; ++f) {
      const QImage frame = cell(img, strip, f);
      double sx = 0, sy = 0, sw = 0;
      for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
          const double a = qAlpha(frame.pixel(x, y));
          sx += a * (x + 0.5), sy += a * (y + 0.5), sw += a;
        }
      ASSERT_GT(sw, 0.0) << "frame " << f << " is empty";
      EXPECT_NEAR(sx / sw, area.width() / 2.0, 1.6) << "frame " << f;
      EXPECT_NEAR(sy / sw, area.height() / 2.0, 1.6) << "frame " << f;
      if (f > 0) {
        EXPECT_NE(frame, cell(img, strip, f - 1)) << "frames " << f - 1 << ", " << f;
      }
    }
  }
}

// The white pointer: frame 0 points down to the left, the middle frame up, the last frame down to
// the right, as the dials' value-to-frame rule expects.
TEST_F(SkinImages, KnobPointersSweepClockwiseFromLowerLeftToLowerRight) {
  struct Case {
    int strip, dial;
    double inner, outer;  // the ring where the white pointer line runs
  };
  for (const Case& c : {Case{187, 1141, 4.0, 13.0}, Case{189, 1112, 14.5, 19.0}}) {
    SCOPED_TRACE(c.strip);
    const QImage img = load(c.strip);
    const ImageInfo& s = ImageInventory::at(c.strip);
    const QRect area = pixels(c.dial);
    const double cx = area.width() / 2.0, cy = area.height() / 2.0;
    auto pointer = [&](int f) {
      const QImage frame = cell(img, c.strip, f);
      double sx = 0, sy = 0, n = 0;
      for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
          const QRgb p = frame.pixel(x, y);
          const double r = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
          if (r < c.inner || r > c.outer || qAlpha(p) < 250 || qGray(p) < 215) continue;
          sx += x + 0.5 - cx, sy += y + 0.5 - cy, ++n;
        }
      EXPECT_GT(n, 3) << "no pointer in frame " << f;
      // Degrees clockwise from straight down, as the dials measure.
      double deg = std::atan2(-sx, sy) * 180.0 / M_PI;
      return deg < 0 ? deg + 360.0 : deg;
    };
    const int last = s.cellCount - 1;
    EXPECT_NEAR(pointer(0), 30.0, 8.0);
    EXPECT_NEAR(pointer(last / 2), 180.0, 8.0);
    EXPECT_NEAR(pointer(last), 330.0, 8.0);
  }
}

// The selector rests only at its eight positions: its ten frames show eight different pictures,
// and the frames the eight values use are all distinct.
TEST_F(SkinImages, SelectorStripShowsEightStops) {
  const QImage img = load(188);
  std::set<QByteArray> distinct;
  std::set<QByteArray> used;
  for (int f = 0; f < 10; ++f) {
    const QImage frame = cell(img, 188, f);
    const QByteArray bytes(reinterpret_cast<const char*>(frame.constBits()), frame.sizeInBytes());
    distinct.insert(bytes);
    if (f != 2 && f != 7) used.insert(bytes);  // values 0..7 show frames 0, 1, 3, 4, 5, 6, 8, 9
  }
  EXPECT_EQ(distinct.size(), 8u);
  EXPECT_EQ(used.size(), 8u);
}

// Lit names are drawn where the panel prints the unlit ones; they keep clear of the cell's last
// row, which the 13-pixel label buttons do not draw.
TEST_F(SkinImages, LitNamesLeaveTheirLastRowEmpty) {
  for (const ModelSkin& s : ModelSkin::all()) {
    for (int id : s.ampTypeLabels) {
      if (!id) continue;
      SCOPED_TRACE(id);
      const QImage img = load(id);
      EXPECT_GT(visiblePixels(img.copy(0, 0, img.width(), 13)), img.width() * 4);
      EXPECT_EQ(visiblePixels(img.copy(0, 13, img.width(), 1)), 0);
    }
  }
}

// Before a device is identified, pictures 1095..1097 hide the names of types 5..7. A cover is the
// panel without the name, so where it differs from the background is the printed name; all of it
// must lie in the part the picture draws (its rectangle's size, from the image's corner).
TEST_F(SkinImages, CoversHideTheUpperTypeNamesCompletely) {
  const ModelSkin& skin = ModelSkin::forModel('0');
  const QImage background = load(skin.background);
  for (int type = 5; type < 8; ++type) {
    SCOPED_TRACE(type);
    const int id = 220 + type - 5;
    const QImage cover = load(id);
    const LayoutRect r = skin.labelRect(type);
    const QRect drawn = pixels(1095 + type - 5);
    ASSERT_EQ(drawn.topLeft(), QPoint(r.x, r.y));
    int printed = 0, uncovered = 0;
    for (int y = 0; y < cover.height(); ++y)
      for (int x = 0; x < cover.width(); ++x) {
        if (cover.pixel(x, y) == background.pixel(r.x + x, r.y + y)) continue;
        ++printed;
        uncovered += x >= drawn.width() || y >= drawn.height();
      }
    EXPECT_GT(printed, 40) << "no name printed under cover " << id;
    EXPECT_EQ(uncovered, 0) << "part of the name shows beside cover " << id;
  }
}

// Pictures drawn over a background match it at their edges, so they show no seam.
TEST_F(SkinImages, PicturesBlendIntoTheirBackgrounds) {
  struct Case {
    int picture, background, control;
  };
  const Case cases[] = {{225, 216, 1099}, {264, 252, 1099}, {251, 241, 1099}, {240, 233, 1100},
                        {186, 216, 1273}, {253, 252, 1273}, {242, 241, 1273}, {234, 233, 1273}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    const QImage pic = load(c.picture);
    const QImage bg = load(c.background);
    const QPoint at = pixels(c.control).topLeft();
    const ImageInfo& s = ImageInventory::at(c.picture);
    for (int i = 0; i < s.cellCount; ++i) {
      const int top = i * s.cellHeight;
      for (QPoint p : {QPoint(0, 0), QPoint(s.width - 1, 0), QPoint(0, s.cellHeight - 1)})
        EXPECT_EQ(QColor(pic.pixel(p + QPoint(0, top))), QColor(bg.pixel(at + p))) << i;
      // ...and show something of their own.
      EXPECT_NE(cell(pic, c.picture, i), bg.copy(at.x(), at.y(), s.width, s.cellHeight));
    }
  }
}

}  // namespace
}  // namespace orv
