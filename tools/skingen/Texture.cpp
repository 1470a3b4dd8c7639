#include "Texture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv {
namespace {

uint32_t hash(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ uint32_t(x) * 0x85EBCA77u ^ uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

float unit(uint32_t h) {
  return float(h & 0xFFFFFF) / float(0xFFFFFF);
}

float smooth(float t) {
  return t * t * (3.f - 2.f * t);
}

int clampByte(float v) {
  return std::clamp(int(std::lround(v)), 0, 255);
}

// Writes base colour scaled by `shade` (1 = unchanged) plus `lift` (added, in 0..255 units).
QRgb shaded(const QColor& base, float shade, float lift = 0.f) {
  return qRgb(clampByte(base.red() * shade + lift), clampByte(base.green() * shade + lift),
              clampByte(base.blue() * shade + lift));
}

// Opaque textures in the format the painters draw into, so that drawing or filling with them needs
// no conversion.
template <class F>
QImage fill(QSize size, F&& pixel) {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = pixel(x, y);
  }
  return img;
}

// One horizontal and one vertical running-average pass over premultiplied ARGB.
void boxPass(std::vector<float>& buf, int w, int h, int r, bool horizontal) {
  std::vector<float> out(buf.size());
  const int n = horizontal ? w : h, lines = horizontal ? h : w;
  for (int l = 0; l < lines; ++l) {
    for (int c = 0; c < 4; ++c) {
      auto at = [&](int i) -> float& {
        const int idx = horizontal ? (l * w + i) : (i * w + l);
        return buf[idx * 4 + c];
      };
      float sum = 0;
      for (int i = -r; i <= r; ++i) sum += at(std::clamp(i, 0, n - 1));
      for (int i = 0; i < n; ++i) {
        const int idx = horizontal ? (l * w + i) : (i * w + l);
        out[idx * 4 + c] = sum / float(2 * r + 1);
        sum += at(std::min(i + r + 1, n - 1)) - at(std::max(i - r, 0));
      }
    }
  }
  buf.swap(out);
}

}  // namespace

float Texture::grain(int x, int y, uint32_t seed) {
  return unit(hash(x, y, seed));
}

float Texture::noise(float x, float y, uint32_t seed) {
  const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  const float fx = smooth(x - float(x0)), fy = smooth(y - float(y0));
  const float a = unit(hash(x0, y0, seed)), b = unit(hash(x0 + 1, y0, seed));
  const float c = unit(hash(x0, y0 + 1, seed)), d = unit(hash(x0 + 1, y0 + 1, seed));
  return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

float Texture::fractal(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, amp = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += noise(x, y, seed + uint32_t(o) * 101u) * amp;
    total += amp;
    x *= 2.f;
    y *= 2.f;
    amp *= 0.5f;
  }
  return sum / total;
}

QImage Texture::brushedMetal(QSize size, QColor base, float streaks, uint32_t seed) {
  return fill(size, [&](int x, int y) {
    const float longStreak = noise(float(x) / 90.f, float(y) * 1.3f, seed) - 0.5f;
    const float shortStreak = noise(float(x) / 14.f, float(y) * 1.1f, seed + 7) - 0.5f;
    const float fine = grain(x, y, seed + 13) - 0.5f;
    const float shade = 1.f + streaks * (0.55f * longStreak + 0.35f * shortStreak + 0.25f * fine);
    return shaded(base, shade);
  });
}

QImage Texture::tolex(QSize size, QColor base, float depth, uint32_t seed) {
  return fill(size, [&](int x, int y) {
    auto bump = [&](float px, float py) {
      return 0.6f * noise(px / 1.15f, py / 1.15f, seed) +
             0.4f * noise(px / 3.0f, py / 3.0f, seed + 3);
    };
    const float fx = float(x), fy = float(y);
    const float slope = bump(fx - 0.6f, fy - 0.6f) - bump(fx + 0.6f, fy + 0.6f);
    const float mottle = fractal(fx / 60.f, fy / 60.f, 3, seed + 9) - 0.5f;
    return shaded(base, 1.f + depth * slope * 1.0f + 0.1f * mottle, depth * slope * 12.f);
  });
}

QImage Texture::powderCoat(QSize size, QColor base, float roughness, uint32_t seed) {
  return fill(size, [&](int x, int y) {
    const float fine = grain(x, y, seed) - 0.5f;
    const float speck = noise(float(x) / 2.3f, float(y) / 2.3f, seed + 5) - 0.5f;
    const float cloud = fractal(float(x) / 120.f, float(y) / 120.f, 3, seed + 11) - 0.5f;
    return shaded(base, 1.f + roughness * (0.5f * fine + 0.6f * speck) + 0.1f * cloud);
  });
}

QImage Texture::wood(QSize size, QColor dark, QColor light, float figure, uint32_t seed) {
  return fill(size, [&](int x, int y) {
    const float fx = float(x), fy = float(y);
    const float warp = fractal(fx / 260.f, fy / 40.f, 4, seed) * 9.f;
    const float rings = 0.5f + 0.5f * std::sin((fy / 7.5f + warp * figure) * 1.3f);
    const float streak = noise(fx / 40.f, fy * 0.9f, seed + 17);
    // Pores: short dark dashes along the grain.
    const float pore = noise(fx / 4.f, fy * 1.6f, seed + 23) > 0.9f ? 0.85f : 1.f;
    const float t = std::clamp(0.65f * std::pow(rings, 2.2f) + 0.35f * streak, 0.f, 1.f);
    const float r = dark.red() + (light.red() - dark.red()) * t;
    const float g = dark.green() + (light.green() - dark.green()) * t;
    const float b = dark.blue() + (light.blue() - dark.blue()) * t;
    const float fine = 1.f + 0.08f * (grain(x, y, seed + 29) - 0.5f);
    return qRgb(clampByte(r * pore * fine), clampByte(g * pore * fine), clampByte(b * pore * fine));
  });
}

QImage Texture::stored(const QImage& image, bool alpha) {
  const QImage::Format want = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() == want) return image;
  QImage src = image;
  if (src.format() != QImage::Format_RGB32 && src.format() != QImage::Format_ARGB32 &&
      src.format() != QImage::Format_ARGB32_Premultiplied)
    src = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const bool premultiplied = src.format() != QImage::Format_ARGB32;
  QImage out(src.size(), want);
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < src.width(); ++x) {
      const QRgb p = src.format() == QImage::Format_RGB32 ? (in[x] | 0xFF000000u) : in[x];
      if (alpha)
        line[x] = premultiplied ? qUnpremultiply(p) : p;
      else {
        const QRgb over = premultiplied ? p : qPremultiply(p);
        line[x] = qRgb(qRed(over), qGreen(over), qBlue(over));
      }
    }
  }
  return out;
}

void Texture::blur(QImage& image, int radius) {
  if (radius <= 0) return;
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int w = image.width(), h = image.height();
  std::vector<float> buf(std::size_t(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      float* p = &buf[(std::size_t(y) * w + x) * 4];
      p[0] = float(qAlpha(line[x]));
      p[1] = float(qRed(line[x]));
      p[2] = float(qGreen(line[x]));
      p[3] = float(qBlue(line[x]));
    }
  }
  const int r = std::max(1, radius / 2);
  for (int pass = 0; pass < 3; ++pass) {
    boxPass(buf, w, h, r, true);
    boxPass(buf, w, h, r, false);
  }
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const float* p = &buf[(std::size_t(y) * w + x) * 4];
      const int a = clampByte(p[0]);
      line[x] = qRgba(std::min(clampByte(p[1]), a), std::min(clampByte(p[2]), a),
                      std::min(clampByte(p[3]), a), a);
    }
  }
}

QImage Texture::shadowOf(const QImage& image, int radius, float opacity) {
  QImage shadow(image.size(), QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < image.height(); ++y) {
    const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(shadow.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      dst[x] = qRgba(0, 0, 0, clampByte(float(qAlpha(src[x])) * opacity));
  }
  blur(shadow, radius);
  return shadow;
}

}  // namespace orv
