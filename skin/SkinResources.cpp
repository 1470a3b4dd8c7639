#include "skin/SkinResources.h"

#include <QtCore/qglobal.h>

#include <mutex>

// Q_INIT_RESOURCE declares the registration function in the current namespace, so it is called
// from the global one.
static void registerSkinImages() {
  Q_INIT_RESOURCE(orv_skin);
}

namespace orv {

void SkinResources::init() {
  static std::once_flag once;
  std::call_once(once, registerSkinImages);
}

}  // namespace orv
