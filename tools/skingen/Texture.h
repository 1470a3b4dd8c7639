#pragma once
// Procedural surface textures and image effects. Everything is deterministic: the same seed
// gives the same pixels, so the art is reproducible from build to build.
#include <QColor>
#include <QImage>
#include <QSize>
#include <cstdint>

namespace orv {

class Texture {
 public:
  // Smooth value noise in [0, 1], and a sum of `octaves` octaves of it.
  static float noise(float x, float y, uint32_t seed);
  static float fractal(float x, float y, int octaves, uint32_t seed);
  // Uncorrelated noise in [0, 1] for one pixel.
  static float grain(int x, int y, uint32_t seed);

  // Brushed metal: long horizontal streaks.
  static QImage brushedMetal(QSize size, QColor base, float streaks, uint32_t seed);
  // Pebbled vinyl covering, lit from the top left.
  static QImage tolex(QSize size, QColor base, float depth, uint32_t seed);
  // Fine powder-coat or anodised finish.
  static QImage powderCoat(QSize size, QColor base, float roughness, uint32_t seed);
  // Wood with horizontal grain and pores.
  static QImage wood(QSize size, QColor dark, QColor light, float figure, uint32_t seed);

  // The image in a format the art is stored in: ARGB32 (straight alpha) when `alpha`, else RGB32
  // (composed over black). Converted pixel by pixel here: Qt converts large images on worker
  // threads, which the sanitizer builds of the tests cannot follow.
  static QImage stored(const QImage& image, bool alpha);

  // Blurs an image in place (three box passes, close to a Gaussian of the given radius).
  static void blur(QImage& image, int radius);
  // A soft shadow of the image's alpha: black at `opacity`, blurred by `radius`.
  static QImage shadowOf(const QImage& image, int radius, float opacity);
};

}  // namespace orv
