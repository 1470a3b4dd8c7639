#include "app/AppIcon.h"

#include <QImage>
#include <QPixmap>

#include "mainwindow/SkinImages.h"
#include "skin/SkinPixels.h"
#include "skin/SkinResources.h"

namespace orv {

QIcon AppIcon::icon() {
  SkinResources::init();
  QIcon icon;
  // From the ready pixels where they are (no decoding at start-up), else from the PNG.
  for (int size : SkinPixels::kApplicationIconSizes) {
    if (const QImage ready = SkinImages::ready(SkinPixels::applicationIcon(size)); !ready.isNull())
      icon.addPixmap(QPixmap::fromImage(ready));
    else
      icon.addFile(QStringLiteral(":/icons/orv-editor-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace orv
