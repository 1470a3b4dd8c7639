#pragma once
// The owner-drawn list of the open library's patches.
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "controls/ImageExResource.h"
#include "controls/WheelNotches.h"

class QPainter;

namespace orv {

// Rows are 19 pixels high whatever the font. Each row shows the row image's top-left part and
// its text (amber when selected, white otherwise, 2 pixels in from either side); a row cut off
// at the bottom shows its image without text. The list has no scroll bar of its own: the owner
// keeps the skinned bar in step through `GetTopIndex` / `TopIndexChanged`.
//
// A left press selects the row under the pointer and dragging follows it; the release reports
// `SelectionChanged`. Up, Down, Page Up, Page Down, Home and End move the selection and report
// it. The wheel scrolls one row per notch. A right release selects the row under the pointer
// (the nearest row) without reporting and opens the context menu, if one is set.
class CVKRListBox : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 19;
  static constexpr int kTextInset = 2;

  explicit CVKRListBox(QWidget* parent = nullptr);
  ~CVKRListBox() override;

  int AddString(const QString& text);
  void InsertString(int index, const QString& text);
  bool DeleteString(int index);
  bool SetString(int index, const QString& text);
  void ResetContent();
  int GetCount() const { return static_cast<int>(m_items.size()); }
  QString GetText(int index) const;

  // -1 = no selection. Setting reports nothing.
  int GetCurSel() const { return m_current; }
  bool SetCurSel(int index);
  int GetTopIndex() const { return m_top; }
  // Scrolls so that `index` is the top row, as far as the list allows: the last rows stay at
  // the bottom. Returns false for an index outside the list.
  bool SetTopIndex(int index);

  // Index of the row at `point` (client coordinates), or the nearest row; -1 for an empty list.
  int ItemFromPoint(const QPoint& point) const;
  QRect ItemRect(int index) const;
  // Rows that fit wholly in the client area.
  int FullRows() const;
  // A row whose text is drawn: it fits wholly above the client's bottom edge.
  bool RowShowsText(int index) const;

  CImageExResource& RowImage() { return m_rowImage; }
  // Shown at the pointer on a right release; not owned.
  void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

  // For assistive tools, which pick rows and run the context menu's commands without a mouse.
  // A pick as a left click makes it: row `index` is selected, scrolled into view and reported.
  // False for an index outside the list.
  bool PickRow(int index);
  // The commands of the context menu, without their mnemonic marks.
  QStringList ContextActions() const;
  // Row `index` is selected as a right click selects it (without reporting), then the context
  // menu's command `name` runs, if it is enabled once the menu's owner has brought it up to date
  // (aboutToShow). False when the row or the command does not exist or is disabled.
  bool RunContextAction(int index, const QString& name);

 signals:
  void SelectionChanged(int index);
  void TopIndexChanged(int top);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int MaxTopIndex() const;
  void SetTop(int top);
  void EnsureVisible(int index);
  void SelectFromPointer(const QPoint& point);
  void DrawRows(QPainter& painter);

  QStringList m_items;
  int m_current = -1;
  int m_top = 0;
  bool m_tracking = false;
  CImageExResource m_rowImage;
  QPointer<QMenu> m_contextMenu;
  WheelNotches m_wheel;
};

}  // namespace orv
