// Surface textures and the blur: reproducible from their seed, and physically plausible.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>

#include "Texture.h"

namespace orv {
namespace {

using Maker = std::function<QImage(uint32_t)>;

TEST(Texture, SameSeedSamePixelsOtherSeedOtherPixels) {
  const QSize size(64, 48);
  const QColor base(120, 90, 60);
  const Maker makers[] = {
      [&](uint32_t s) { return Texture::brushedMetal(size, base, 0.2f, s); },
      [&](uint32_t s) { return Texture::tolex(size, base, 1.0f, s); },
      [&](uint32_t s) { return Texture::powderCoat(size, base, 0.3f, s); },
      [&](uint32_t s) { return Texture::wood(size, base.darker(), base.lighter(), 1.0f, s); },
  };
  for (const Maker& make : makers) {
    const QImage a = make(7);
    EXPECT_EQ(a.size(), size);
    EXPECT_EQ(a, make(7));
    EXPECT_NE(a, make(8));
  }
}

TEST(Texture, TexturesStayCloseToTheirBaseColour) {
  const QColor base(120, 90, 60);
  const QImage img = Texture::powderCoat(QSize(80, 80), base, 0.3f, 3);
  double r = 0, g = 0, b = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb p = img.pixel(x, y);
      r += qRed(p), g += qGreen(p), b += qBlue(p);
    }
  const double n = img.width() * img.height();
  EXPECT_NEAR(r / n, base.red(), 8.0);
  EXPECT_NEAR(g / n, base.green(), 8.0);
  EXPECT_NEAR(b / n, base.blue(), 8.0);
}

TEST(Texture, NoiseIsInTheUnitRangeAndSmooth) {
  for (int i = 0; i < 2000; ++i) {
    const float x = i * 0.37f - 100.f, y = i * 0.11f - 40.f;
    const float n = Texture::noise(x, y, 5);
    ASSERT_GE(n, 0.f);
    ASSERT_LE(n, 1.f);
    const float f = Texture::fractal(x, y, 4, 5);
    ASSERT_GE(f, 0.f);
    ASSERT_LE(f, 1.f);
    // A small step moves the value a little: interpolated, not random per call.
    ASSERT_LT(std::abs(Texture::noise(x + 0.01f, y, 5) - n), 0.05f);
  }
  EXPECT_EQ(Texture::grain(3, 4, 9), Texture::grain(3, 4, 9));
  EXPECT_NE(Texture::grain(3, 4, 9), Texture::grain(4, 3, 9));
}

TEST(Texture, BlurSpreadsLightWithoutMakingAny) {
  QImage img(31, 31, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.fillRect(13, 13, 5, 5, QColor(255, 200, 40));
  }
  auto totalAlpha = [](const QImage& i) {
    double sum = 0;
    for (int y = 0; y < i.height(); ++y)
      for (int x = 0; x < i.width(); ++x) sum += qAlpha(i.pixel(x, y));
    return sum;
  };
  const double before = totalAlpha(img);
  QImage blurred = img;
  Texture::blur(blurred, 4);
  EXPECT_NEAR(totalAlpha(blurred), before, before * 0.03);
  EXPECT_LT(qAlpha(blurred.pixel(15, 15)), 255);
  EXPECT_GT(qAlpha(blurred.pixel(15, 10)), 0);
  EXPECT_EQ(qAlpha(blurred.pixel(0, 0)), 0);
  for (int y = 0; y < blurred.height(); ++y)
    for (int x = 0; x < blurred.width(); ++x) {
      const QRgb p = reinterpret_cast<const QRgb*>(blurred.constScanLine(y))[x];
      ASSERT_LE(qRed(p), qAlpha(p)) << x << "," << y;  // still valid premultiplied colour
      ASSERT_LE(qBlue(p), qAlpha(p)) << x << "," << y;
    }
}

TEST(Texture, ShadowIsBlackAndNoDenserThanAsked) {
  QImage shape(40, 40, QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  {
    QPainter p(&shape);
    p.fillRect(10, 10, 20, 20, Qt::red);
  }
  const QImage shadow = Texture::shadowOf(shape, 2, 0.5f);
  int maxAlpha = 0;
  for (int y = 0; y < shadow.height(); ++y)
    for (int x = 0; x < shadow.width(); ++x) {
      const QRgb p = shadow.pixel(x, y);
      ASSERT_EQ(qRed(p) + qGreen(p) + qBlue(p), 0);
      maxAlpha = std::max(maxAlpha, qAlpha(p));
    }
  EXPECT_NEAR(maxAlpha, 128, 2);
  EXPECT_EQ(qAlpha(shadow.pixel(2, 2)), 0);
}

}  // namespace
}  // namespace orv
