#include "app/AppIcon.h"

#include "skin/SkinResources.h"

namespace orv {

QIcon AppIcon::icon() {
  SkinResources::init();
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/orv-editor-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace orv
