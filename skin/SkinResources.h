#pragma once
// The panel's images are compiled into this library as Qt resources ":/png/<id>.png".

namespace orv {

class SkinResources {
 public:
  // Registers the images with Qt's resource system. Call once before the first image is loaded
  // (the main window does it at start-up); later calls do nothing. Needed because the images live
  // in a static library, whose registration code the linker would otherwise leave out.
  static void init();
};

}  // namespace orv
