#pragma once
// The panel's images: identifier, pixel size, pixel format and sprite geometry. Sprites stack
// their cells (knob frames, button faces) vertically; an image without cells has one cell of its
// own size. The controls compute source rectangles from this geometry, so it binds the art.
#include <span>
#include <string>
#include <string_view>

namespace orv {

enum class ImageFormat { Rgb, Rgba };

enum class ImageRole {
  Background,
  KnobStrip,
  ButtonSprite,
  PullDownSprite,
  Plate,
  Picture,
  AmpTypeLabel,
  LabelCover,
  ListRow,
  ScrollThumb,
  ScrollTrack,
  ArrowSprite,
  Unused,
};

struct ImageInfo {
  int id = 0;
  int width = 0;
  int height = 0;
  ImageFormat format = ImageFormat::Rgb;
  ImageRole role = ImageRole::Picture;
  int cellHeight = 0;  // the stride of the stacked cells; the height when there is one cell
  int cellCount = 1;
  std::string_view description;

  int cellWidth() const { return width; }
};

class ImageInventory {
 public:
  static constexpr int kImageCount = 63;

  // Every image, in identifier order.
  static std::span<const ImageInfo> images();

  // The image with this identifier, or nullptr.
  static const ImageInfo* find(int id);

  // The image with this identifier; throws std::out_of_range for an unknown one.
  static const ImageInfo& at(int id);

  // The resource path of an image: ":/png/<id>.png".
  static std::string resourcePath(int id);
};

}  // namespace orv
