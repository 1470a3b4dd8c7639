#pragma once
// Common base of the controls that the main window draws onto its own back buffer: dials,
// pictures and the list's scroll bar.
#include <QRect>
#include <QRegion>
#include <QWidget>

#include "controls/ImageExResource.h"

namespace orv {

class IVKRControlListener;

// Keeps one integer value with its range, the control's identifier, its placement on the main
// window and its two images. The widget paints nothing itself: the main window paints its
// background and then asks each control to draw itself (`DrawOnto` of the subclasses) at its
// placement, so the skin shows through.
class CVKRControl : public QWidget {
  Q_OBJECT

 public:
  explicit CVKRControl(QWidget* parent = nullptr);
  ~CVKRControl() override = 0;

  // Stores `v` clamped into [min, max]; no notification, no repaint. Assistive tools hear of a
  // change.
  void SetValue(int v);
  int GetValue() const { return m_value; }
  // A reversed range is taken the right way round. The value is not touched.
  void SetRange(int min, int max);
  int GetMin() const { return m_min; }
  int GetMax() const { return m_max; }

  void SetId(int id) { m_id = id; }
  int GetId() const { return m_id; }
  void SetListener(IVKRControlListener* listener) { m_listener = listener; }
  IVKRControlListener* GetListener() const { return m_listener; }

  // The rectangle in the main window's client coordinates that every drawing uses.
  void SetRect(const QRect& rect) { m_rect = rect; }
  const QRect& GetRect() const { return m_rect; }
  // Moves the widget to `rect` of its parent and uses the same rectangle for drawing; for a
  // control whose parent is the main window.
  void Place(const QRect& rect);

  // The area the main window repaints after a value change: the placement rectangle, or the
  // ellipse inscribed in it (the amplifier-type knob).
  void SetEllipticArea(bool elliptic) { m_elliptic = elliptic; }
  QRegion RepaintArea() const;
  // Invalidates the repaint area on the main window (this widget's top-level window).
  void InvalidateArea();

  CImageExResource& Image() { return m_image; }
  const CImageExResource& Image() const { return m_image; }
  CImageExResource& BackImage() { return m_backImage; }
  const CImageExResource& BackImage() const { return m_backImage; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // True unless the control or one of its parents below the window is hidden.
  bool ShownOnWindow() const;
  // Invalidates the main window's area under the widget.
  void InvalidateWindowUnder();
  void NotifyListener(int value);

  IVKRControlListener* m_listener = nullptr;
  int m_value = 0;
  int m_min = 0;
  int m_max = 0;
  int m_id = 0;
  QRect m_rect;
  CImageExResource m_image;
  CImageExResource m_backImage;

 private:
  bool m_elliptic = false;
};

}  // namespace orv
