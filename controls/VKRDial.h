#pragma once
// The knob of the panel.
#include <QPoint>
#include <QString>
#include <functional>

#include "controls/VKRControl.h"
#include "controls/ValueScale.h"
#include "controls/WheelNotches.h"

class QPainter;

namespace orv {

// Shows its value as one frame of a vertical image strip (frame 0 at the top shows the minimum)
// and changes it by drag, wheel and the Up and Down keys, telling the listener after every
// change, also when the value stayed the same. A drag follows the knob mode: Linear moves one
// fast step per mouse movement (down when the pointer did not rise), Circular points the knob
// at the pointer. Shift held while the knob has the focus makes every step exactly one. Besides
// Up and Down, Page Up and Page Down take ten steps, Home and End go to the minimum and maximum.
class CVKRDial : public CVKRControl {
  Q_OBJECT

 public:
  enum KnobMode { kLinear = 0, kCircular = 1 };
  // The text a value is shown as on the panel (its read-out, a type name).
  using ValueTextSource = std::function<QString(int value)>;

  explicit CVKRDial(QWidget* parent = nullptr);
  ~CVKRDial() override;

  void SetKnobMode(int mode) { m_knobMode = mode; }
  int GetKnobMode() const { return m_knobMode; }
  void SetLogScale(bool on) { m_logScale = on; }
  bool IsLogScale() const { return m_logScale; }
  void SetStepped(bool on) { m_stepped = on; }
  void SetHundredRule(bool on) { m_hundredRule = on; }
  void SetFine(bool on) { m_fine = on; }
  bool IsFine() const { return m_fine; }
  // End of the travel in degrees measured clockwise from straight down (330 by default; the
  // travel starts at 30).
  void SetEndAngle(int degrees) { m_endAngle = degrees; }
  int GetEndAngle() const { return m_endAngle; }
  // Strip geometry: nominal frame width (unused in drawing), frame stride and frame count.
  void SetFrameGeometry(int frameWidth, int frameHeight, int frameCount);
  int GetFrameHeight() const { return m_frameHeight; }
  int GetFrameCount() const { return m_frameCount; }

  // Draws the current frame at the placement rectangle onto the main window's back buffer;
  // faded while the knob has the keyboard focus. Nothing while the knob is hidden.
  void DrawOnto(QPainter& painter) const;
  // The strip frame that shows the current value.
  int FrameIndex() const;

  // One step up or down (see the stepping rules); stores the clamped result, no notification.
  void Step(bool down, bool fast);
  // Points the knob at (x, y) of its own client area; stores the result, no notification.
  void ValueFromAngle(int x, int y);
  bool IsDragging() const { return m_dragging; }

  // A value chosen by other means than the mouse (an assistive tool): stored clamped and told
  // to the listener exactly as a gesture is.
  void ChangeByUser(int v);
  // Keyboard steps up or down (one for Up and Down, ten for Page Up and Page Down), told to the
  // listener once.
  static constexpr int kPageSteps = 10;
  void StepByKey(bool down, int steps = 1);
  void SetValueTextSource(ValueTextSource source) { m_valueText = std::move(source); }
  // The current value as the panel shows it; the plain number without a source.
  QString ValueText() const;

 signals:
  // Enter or F2 on the focused knob: the owner opens the knob's number entry, if it has one.
  void EntryRequested();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // A double-click is no second press.
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  ValueScale Scale() const;
  int StepTarget(bool down, bool fast) const;

  int m_knobMode = kLinear;
  QPoint m_lastPoint;
  bool m_fine = false;
  bool m_logScale = false;
  int m_frameWidth = 46;
  int m_frameHeight = 54;
  int m_frameCount = 51;
  bool m_stepped = false;
  bool m_hundredRule = false;
  int m_endAngle = 330;
  bool m_dragging = false;
  WheelNotches m_wheel;
  ValueTextSource m_valueText;
};

}  // namespace orv
