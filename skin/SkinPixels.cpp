#include "skin/SkinPixels.h"

#include <cstring>

// The store itself: the generated file embeds the generator's output as two symbols.
extern "C" const unsigned char orv_skin_pixels[];
extern "C" const unsigned char orv_skin_pixels_end[];

namespace orv {

std::optional<PixelImage> SkinPixels::find(int id) {
  return find({orv_skin_pixels, std::size_t(orv_skin_pixels_end - orv_skin_pixels)}, id);
}

std::optional<PixelImage> SkinPixels::find(std::span<const unsigned char> blob, int id) {
  Header header;
  if (blob.size() < sizeof header) return std::nullopt;
  std::memcpy(&header, blob.data(), sizeof header);
  if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0) return std::nullopt;
  if (header.count > (blob.size() - sizeof header) / sizeof(Entry)) return std::nullopt;
  for (uint32_t i = 0; i < header.count; ++i) {
    Entry e;
    std::memcpy(&e, blob.data() + sizeof header + i * sizeof e, sizeof e);
    if (e.id != id) continue;
    const uint64_t rowBytes = uint64_t(e.width) * 4;
    if (e.width <= 0 || e.height <= 0 || uint64_t(e.bytesPerLine) < rowBytes) return std::nullopt;
    const uint64_t size = uint64_t(e.bytesPerLine) * uint64_t(e.height);
    if (e.offset > blob.size() || size > blob.size() - e.offset) return std::nullopt;
    return PixelImage{blob.data() + e.offset, e.width, e.height, e.bytesPerLine, e.alpha != 0};
  }
  return std::nullopt;
}

}  // namespace orv
