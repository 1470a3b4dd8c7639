#pragma once
#include <QImage>
#include <vector>

namespace orv {

class CImageEx;

// The panel's images, decoded once per process and shared by every control that shows them
// (QImage shares its pixels), already in the format the painter draws without converting.
// Dozens of controls carry the 800 x 600 background: decoding it for each would cost start-up
// time and tens of megabytes.
class SkinImages {
 public:
  // Starts decoding `ids` on worker threads, so that the window can build its controls
  // meanwhile; get() then waits only for what is not ready yet.
  static void preload(const std::vector<int>& ids);
  // The image `:/png/<id>.png`; a null image when there is none.
  static QImage get(int id);
  // Image `id` of the ready pixels linked into the program, read in place (no copy, no
  // decoding); a null image when the store lacks it.
  static QImage ready(int id);
  // Gives `holder` image `id`; false (and an empty holder) when there is none.
  static bool load(CImageEx& holder, int id);
};

}  // namespace orv
