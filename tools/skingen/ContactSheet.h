#pragma once
// A review sheet: the panel of every model assembled from its images with the controls in a
// sample state, then every knob strip frame by frame and every sprite cell by cell.
#include <QImage>

#include "SkinGenerator.h"

namespace orv {

class ContactSheet {
 public:
  static QImage compose(const SkinGenerator::Images& images);

  // One model's panel as the editor would show it, in a fixed sample state.
  static QImage panelPreview(const SkinGenerator::Images& images, char model);
};

}  // namespace orv
