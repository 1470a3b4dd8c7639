#pragma once
// The skinned push or toggle button of the panel.
#include <QAbstractButton>
#include <QPoint>
#include <QRect>

#include "controls/ImageExResource.h"

namespace orv {

// Draws one cell of a sprite image, chosen by its pressed, hovered and toggle states, over the
// part of the main window's background that lies under it, then an optional caption and
// overlay. A click reaches the owner through QAbstractButton::clicked; in toggle mode the state
// flips before that, on a release inside the button after a press on it, and on Space.
// A double-click counts as a second press, so fast clicks each count.
class CCustomButton : public QAbstractButton {
  Q_OBJECT

 public:
  // Top-left corners of the sprite cells, in face-image pixels.
  struct Cells {
    QPoint normalOff;
    QPoint normalOn;
    QPoint pressedOff;
    QPoint pressedOn;
    QPoint hoverOn;
    QPoint hoverOff;
  };

  // What the button is on the panel, for assistive tools: a push button, an on/off switch, one
  // of a set of exclusive choices (the amplifier-type names), or a state indicator.
  enum class Kind { Push, Switch, Choice, Indicator };

  explicit CCustomButton(QWidget* parent = nullptr);
  ~CCustomButton() override;

  // The button's rectangle in the main window's client coordinates: selects the part of the
  // background drawn under it.
  void SetPlacement(const QRect& rect) { m_placement = rect; }
  const QRect& GetPlacement() const { return m_placement; }
  // Moves the widget to `rect` of its parent and uses it as the placement.
  void Place(const QRect& rect);

  void SetCaption(const QString& caption);
  const QString& GetCaption() const { return m_caption; }
  void SetCells(const Cells& cells) { m_cells = cells; }
  const Cells& GetCells() const { return m_cells; }
  void SetCellSize(int width, int height);
  QSize GetCellSize() const { return QSize(m_cellWidth, m_cellHeight); }
  // Size of the overlay drawn at the top-left corner; 0 wide = no overlay.
  void SetOverlaySize(int width, int height);
  QSize GetOverlaySize() const { return QSize(m_overlayWidth, m_overlayHeight); }

  // Toggle state (1 = on); for the connection indicator the connection state. Setting it does
  // not repaint; assistive tools hear of a change.
  void SetState(int state);
  int GetState() const { return m_state; }
  // 1: a click flips the state; 0: plain push button.
  void SetToggleMode(int mode) { m_toggleMode = mode ? 1 : 0; }
  int GetToggleMode() const { return m_toggleMode; }
  void SetId(int id) { m_id = id; }
  int GetId() const { return m_id; }
  bool IsHovered() const { return m_hovered; }
  void SetKind(Kind kind) { m_kind = kind; }
  Kind GetKind() const { return m_kind; }

  // A click made by other means than the mouse or Space (an assistive tool): in toggle mode the
  // state flips, then `clicked` reaches the owner, exactly as after a click. Nothing while the
  // button is disabled.
  void Press();

  CImageExResource& Face() { return m_face; }
  CImageExResource& Background() { return m_background; }
  CImageExResource& Overlay() { return m_overlay; }
  const CImageExResource& Overlay() const { return m_overlay; }

  // The cell the next paint draws.
  virtual QPoint CurrentCell() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

  virtual void DrawCaption(QPainter& painter);
  void DrawBackgroundPart(QPainter& painter) const;
  void DrawCell(QPainter& painter, const QPoint& cell) const;
  // Both hover cells are set: only then is there a hover face.
  bool HasHoverFace() const;
  // A left press on the button is held (the button has the mouse).
  bool IsCaptured() const { return m_captured; }
  void SetCaptured(bool captured) { m_captured = captured; }

 private:
  QRect m_placement;
  QString m_caption;
  Cells m_cells;
  CImageExResource m_face;
  CImageExResource m_background;
  CImageExResource m_overlay;
  int m_state = 0;
  int m_id = 0;
  int m_cellWidth = 0;
  int m_cellHeight = 0;
  int m_overlayWidth = 0;
  int m_overlayHeight = 0;
  int m_toggleMode = 1;
  bool m_hovered = false;
  bool m_captured = false;
  Kind m_kind = Kind::Push;
};

}  // namespace orv
