// Image holders: loading by number or path, failure leaving them empty, and the clipped and
// scaled drawing every control relies on.
#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "controls/ImageExResource.h"

namespace orv {
namespace {

class ImageTest : public ::testing::Test {
 protected:
  QString Save(const QImage& image, const QString& name) {
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
  }
  static QImage Canvas() {
    QImage canvas(20, 20, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::black);
    return canvas;
  }
  QTemporaryDir dir;
};

TEST_F(ImageTest, KeepsRgbAndRgbaApart) {
  QImage rgb(4, 3, QImage::Format_RGB888);
  rgb.fill(QColor(1, 2, 3));
  QImage rgba(4, 3, QImage::Format_ARGB32);
  rgba.fill(QColor(1, 2, 3, 128));
  CImageExResource a, b;
  ASSERT_TRUE(a.LoadFromFile(Save(rgb, "rgb.png")));
  ASSERT_TRUE(b.LoadFromFile(Save(rgba, "rgba.png")));
  EXPECT_FALSE(a.Image().hasAlphaChannel());
  EXPECT_TRUE(b.Image().hasAlphaChannel());
  EXPECT_EQ(a.Image().size(), QSize(4, 3));
  EXPECT_EQ(b.Image().pixelColor(0, 0).alpha(), 128);
}

TEST_F(ImageTest, FailedLoadLeavesTheHolderEmpty) {
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  CImageExResource holder;
  ASSERT_TRUE(holder.LoadFromFile(Save(picture, "ok.png")));
  EXPECT_FALSE(holder.LoadFromResource(99999));
  EXPECT_TRUE(holder.IsEmpty()) << "the earlier image is gone";
  EXPECT_EQ(holder.ResourceId(), 0);
  QFile junk(dir.filePath("junk.png"));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write("\x89PNG\r\n\x1a\n not really");
  junk.close();
  ASSERT_TRUE(holder.LoadFromFile(Save(picture, "ok.png")));
  EXPECT_FALSE(holder.LoadFromFile(junk.fileName()));
  EXPECT_TRUE(holder.IsEmpty());
  // An empty holder draws nothing.
  QImage canvas = Canvas();
  QPainter p(&canvas);
  holder.DrawPart(p, QPoint(0, 0), QRect(0, 0, 4, 4));
  holder.DrawScaled(p, QRect(0, 0, 8, 8));
  p.end();
  EXPECT_EQ(canvas.pixelColor(1, 1), QColor(Qt::black));
  EXPECT_EQ(CImageExResource::ResourcePath(216), ":/png/216.png");
}

TEST_F(ImageTest, ReloadingGivesAnEqualImage) {
  QImage picture(5, 7, QImage::Format_ARGB32);
  picture.fill(QColor(9, 8, 7, 200));
  const QString path = Save(picture, "p.png");
  CImageExResource holder;
  ASSERT_TRUE(holder.LoadFromFile(path));
  const QImage first = holder.Image();
  ASSERT_TRUE(holder.LoadFromFile(path));
  EXPECT_EQ(holder.Image(), first);
}

TEST_F(ImageTest, DrawPartClipsToTheImage) {
  QImage strip(4, 8, QImage::Format_RGB32);
  strip.fill(QColor(0, 0, 200));
  for (int x = 0; x < 4; ++x) strip.setPixelColor(x, 4, QColor(200, 0, 0));
  CImageEx image;
  image.SetImage(strip);
  QImage canvas = Canvas();
  QPainter p(&canvas);
  image.DrawPart(p, QPoint(10, 10), QRect(0, 4, 6, 6));  // wider and taller than what is left
  image.DrawPart(p, QPoint(0, 0), QRect(0, 8, 4, 4));    // wholly below: nothing
  image.DrawPart(p, QPoint(0, 10), QRect(-2, 0, 4, 1));  // the part inside lands shifted
  p.end();
  EXPECT_EQ(canvas.pixelColor(10, 10), QColor(200, 0, 0));
  EXPECT_EQ(canvas.pixelColor(13, 13), QColor(0, 0, 200));
  EXPECT_EQ(canvas.pixelColor(14, 10), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(10, 14), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(0, 0), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(1, 10), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(2, 10), QColor(0, 0, 200));
}

TEST_F(ImageTest, DrawScaledFillsTheRectangle) {
  CImageEx thumb;
  QImage small(2, 3, QImage::Format_RGB32);
  small.fill(QColor(0, 150, 0));
  thumb.SetImage(small);
  QImage canvas = Canvas();
  QPainter p(&canvas);
  thumb.DrawScaled(p, QRect(3, 2, 4, 12));
  thumb.DrawScaled(p, QRect(3, 2, 4, 12));  // again from the kept copy
  p.end();
  EXPECT_EQ(canvas.pixelColor(3, 2), QColor(0, 150, 0));
  EXPECT_EQ(canvas.pixelColor(6, 13), QColor(0, 150, 0));
  EXPECT_EQ(canvas.pixelColor(7, 13), QColor(Qt::black));
  EXPECT_EQ(canvas.pixelColor(6, 14), QColor(Qt::black));
}

}  // namespace
}  // namespace orv
