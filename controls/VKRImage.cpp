#include "controls/VKRImage.h"

#include <QPainter>

namespace orv {

CVKRImage::CVKRImage(QWidget* parent) : CVKRControl(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

CVKRImage::~CVKRImage() = default;

void CVKRImage::DrawOnto(QPainter& painter) const {
  if (!ShownOnWindow()) return;
  m_image.DrawPart(painter, m_rect.topLeft(), QRect(QPoint(0, 0), m_rect.size()));
}

}  // namespace orv
