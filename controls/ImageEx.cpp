#include "controls/ImageEx.h"

#include <QPainter>

namespace orv {

CImageEx::~CImageEx() = default;

void CImageEx::SetImage(const QImage& image) {
  m_image = image;
  m_scaled = QImage();
  if (image.isNull()) {
    m_drawable = QImage();
    return;
  }
  const QImage::Format format =
      image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  m_drawable = image.format() == format ? image : image.convertToFormat(format);
}

void CImageEx::Clear() {
  SetImage(QImage());
}

void CImageEx::DrawPart(QPainter& painter, const QPoint& dest, const QRect& source) const {
  if (m_drawable.isNull()) return;
  const QRect inside = source.normalized() & m_drawable.rect();
  if (inside.isEmpty()) return;
  painter.drawImage(dest + (inside.topLeft() - source.topLeft()), m_drawable, inside);
}

void CImageEx::DrawScaled(QPainter& painter, const QRect& dest) const {
  if (m_drawable.isNull() || dest.isEmpty()) return;
  if (m_scaled.size() != dest.size()) {
    m_scaled =
        m_drawable.size() == dest.size()
            ? m_drawable
            : m_drawable.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  painter.drawImage(dest.topLeft(), m_scaled);
}

}  // namespace orv
