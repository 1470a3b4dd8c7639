#pragma once
// Renders every image of the inventory and writes them out as PNG files.
#include <QImage>
#include <QString>
#include <map>

namespace orv {

class SkinGenerator {
 public:
  using Images = std::map<int, QImage>;

  // Every image of the inventory, at its size and in its format (RGB32 or ARGB32).
  static Images renderAll();

  // Checks the images against the inventory; returns an empty string or what is wrong.
  static QString verify(const Images& images);

  // Writes <dir>/<id>.png for every image (creating dir); false with `error` set on failure.
  static bool writePngs(const Images& images, const QString& dir, QString& error);

  // Writes the images as ready pixels (the layout of skin/SkinPixels.h) to binPath, and a C++
  // source that links that file into a program as the symbols orv_skin_pixels and
  // orv_skin_pixels_end. The source names a digest of the pixels, so that a build cache never
  // mistakes new pixels for old ones.
  static bool writePixels(const Images& images, const QString& binPath, const QString& cppPath,
                          QString& error);
  // The ready pixels of writePixels as one block.
  static QByteArray pixelStore(const Images& images);
  // `images` and the application icon at each of its sizes, numbered as SkinPixels looks them up.
  static Images withApplicationIcon(Images images);

  // Writes the application and file-type icons as an icon theme: <dir>/hicolor/<N>x<N>/apps/
  // orv-editor.png and <dir>/hicolor/<N>x<N>/mimetypes/application-x-orv-{library,patch}.png.
  static bool writeIcons(const QString& dir, QString& error);

  // Writes a resource file listing every image as :/png/<id>.png, taken from dir, and, when
  // iconDir is given, the application icon written there as :/icons/orv-editor-<N>.png.
  static bool writeQrc(const Images& images, const QString& dir, const QString& qrcPath,
                       QString& error, const QString& iconDir = {});
};

}  // namespace orv
