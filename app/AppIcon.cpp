#include "app/AppIcon.h"

#include <QImage>
#include <QPixmap>

#include "skin/SkinPixels.h"
#include "skin/SkinResources.h"

namespace orv {

QIcon AppIcon::icon() {
  SkinResources::init();
  QIcon icon;
  // From the ready pixels where they are (no decoding at start-up), else from the PNG.
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    if (const std::optional<PixelImage> p = SkinPixels::find(SkinPixels::applicationIcon(size)))
      icon.addPixmap(QPixmap::fromImage(
          QImage(p->bits, p->width, p->height, p->bytesPerLine,
                 p->alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32)));
    else
      icon.addFile(QStringLiteral(":/icons/orv-editor-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace orv
