#pragma once
// The panel's images also as ready pixels, linked into the program next to the PNG resources:
// each in the format the painter draws (premultiplied ARGB32 with alpha, RGB32 without), so that
// start-up shows the panel without decoding or copying a single image.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orv {

struct PixelImage {
  const unsigned char* bits = nullptr;
  int width = 0;
  int height = 0;
  int bytesPerLine = 0;
  bool alpha = false;  // premultiplied ARGB32 when set, RGB32 otherwise
};

class SkinPixels {
 public:
  // The layout of the store, shared with the generator that writes it: a header, one entry per
  // image in identifier order, then the pixel rows of each image at its offset (16-byte aligned).
  struct Header {
    char magic[8];  // "ORVPIX1" and a zero
    uint32_t count;
    uint32_t reserved;
  };
  struct Entry {
    int32_t id, width, height, bytesPerLine;
    uint32_t alpha, reserved;
    uint64_t offset;
  };
  static constexpr char kMagic[8] = "ORVPIX1";
  // The application icon is stored too, at each of its sizes (those the desktop asks for, in
  // pixels), under this number plus the size.
  static constexpr std::array<int, 7> kApplicationIconSizes{16, 24, 32, 48, 64, 128, 256};
  static constexpr int kApplicationIcon = 1000000;
  static constexpr int applicationIcon(int size) { return kApplicationIcon + size; }

  // The image `id` of the store linked into the program; nothing for an unknown id.
  static std::optional<PixelImage> find(int id);
  // The same in any store (`blob`); nothing when the store or the entry is malformed.
  static std::optional<PixelImage> find(std::span<const unsigned char> blob, int id);
};

}  // namespace orv
