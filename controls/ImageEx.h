#pragma once
// One decoded picture, kept ready for drawing.
#include <QImage>

class QPainter;
class QPoint;
class QRect;

namespace orv {

// Holds the image as decoded (its format tells RGB from RGBA) and a copy in the painter's
// premultiplied format, made once when the image is set, so that drawing never converts.
// An empty holder draws nothing.
class CImageEx {
 public:
  CImageEx() = default;
  virtual ~CImageEx();
  CImageEx(const CImageEx&) = delete;
  CImageEx& operator=(const CImageEx&) = delete;

  bool IsEmpty() const { return m_image.isNull(); }
  const QImage& Image() const { return m_image; }
  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }

  // Takes a decoded image; a null image empties the holder.
  void SetImage(const QImage& image);
  void Clear();

  // Copies `source` (image pixels) 1:1 with its top-left corner at `dest`. Only the part of
  // `source` that lies inside the image is drawn, at its matching place.
  void DrawPart(QPainter& painter, const QPoint& dest, const QRect& source) const;
  // Draws the whole image scaled into `dest`; the scaled copy is kept for the next call.
  void DrawScaled(QPainter& painter, const QRect& dest) const;

 private:
  QImage m_image;
  QImage m_drawable;
  mutable QImage m_scaled;
};

}  // namespace orv
