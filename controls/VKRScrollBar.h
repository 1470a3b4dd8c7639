#pragma once
// The skinned vertical scroll bar beside the library list.
#include "controls/VKRControl.h"
#include "controls/WheelNotches.h"

class QPainter;

namespace orv {

// Its value is the list's top row. The travel maps onto the top rows 0..max - 11 (11 rows are
// treated as visible). `m_image` is the thumb, `m_backImage` the track.
//
// A press on the thumb starts a drag and reports nothing yet; a press above or below it
// proposes a page (value -/+ 10, within the range) and reports it without storing it: the
// listener stores what it accepts with `SetValue`. While the left button is held after either
// press, moving the pointer sets the value from the pointer's height, stores and reports it.
// A wheel notch proposes value +/- 1 the same way as a page.
class CVKRScrollBar : public CVKRControl {
  Q_OBJECT

 public:
  static constexpr int kVisibleRows = 11;
  static constexpr int kRowHeight = 19;

  explicit CVKRScrollBar(QWidget* parent = nullptr);
  ~CVKRScrollBar() override;

  // 1 = vertical (the only one drawn and dragged), 0 = horizontal.
  void SetOrientation(int orientation) { m_orientation = orientation; }
  int GetOrientation() const { return m_orientation; }
  void SetThumbWidth(int width) { m_thumbWidth = width; }
  int GetThumbWidth() const { return m_thumbWidth; }
  void SetThumbHeight(int height) { m_thumbHeight = height; }
  int GetThumbHeight() const { return m_thumbHeight; }
  void SetThumbOffset(int x, int y);
  // Thumb height for a list of `rows` rows of 19 pixels in this bar's client height:
  // H / (rows * 19 / H), the whole bar when the list is shorter than the bar.
  static int ThumbHeightFor(int clientHeight, int rows);
  // Sets the thumb height from the current maximum (the number of list rows).
  void UpdateThumbHeight();

  // The drawn thumb, in client coordinates; empty for a horizontal bar.
  virtual QRect GetThumbRect() const;
  // The value a press at `point` proposes (a press off the thumb).
  int PageProposal(const QPoint& point) const;
  // The value for the pointer at `point` during a drag.
  int DragValue(const QPoint& point) const;

  // Draws the track and the thumb at the placement rectangle onto the main window's back
  // buffer. Nothing while the bar is hidden.
  void DrawOnto(QPainter& painter) const;
  bool IsDragging() const { return m_dragging; }
  // The highest top row the bar's travel reaches (max - 11, not below min).
  int LastTopRow() const;
  // A top row chosen by other means than the mouse (an assistive tool): proposed to the listener
  // within [min, LastTopRow()], as a page click proposes one.
  void ProposeByUser(int v);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A double-click is no second press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int ThumbTop() const;

  int m_orientation = 1;
  int m_thumbWidth = 0;
  int m_thumbHeight = 0;
  int m_thumbOffsetX = 0;
  int m_thumbOffsetY = 0;
  bool m_dragging = false;
  WheelNotches m_wheel;
};

}  // namespace orv
