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

  // Writes a resource file listing every image as :/png/<id>.png, taken from dir.
  static bool writeQrc(const Images& images, const QString& dir, const QString& qrcPath,
                       QString& error);
};

}  // namespace orv
