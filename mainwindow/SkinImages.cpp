#include "mainwindow/SkinImages.h"

#include <QHash>
#include <QImageReader>

#include "controls/ImageEx.h"
#include "controls/ImageExResource.h"

namespace orv {

QImage SkinImages::get(int id) {
  // UI thread only, like every widget.
  static QHash<int, QImage> cache;
  auto it = cache.constFind(id);
  if (it != cache.constEnd()) return *it;
  QImageReader reader(CImageExResource::ResourcePath(id), "png");
  QImage image = reader.read();
  if (!image.isNull()) {
    const QImage::Format drawable =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != drawable) image = image.convertToFormat(drawable);
  }
  cache.insert(id, image);
  return image;
}

bool SkinImages::load(CImageEx& holder, int id) {
  const QImage image = get(id);
  holder.SetImage(image);
  return !image.isNull();
}

}  // namespace orv
