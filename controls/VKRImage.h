#pragma once
// A passive picture on the panel.
#include "controls/VKRControl.h"

class QPainter;

namespace orv {

// Draws the top-left part of its image that fits its placement rectangle, unscaled, onto the
// main window's back buffer. Takes no input.
class CVKRImage : public CVKRControl {
  Q_OBJECT

 public:
  explicit CVKRImage(QWidget* parent = nullptr);
  ~CVKRImage() override;

  void DrawOnto(QPainter& painter) const;
};

}  // namespace orv
