#pragma once
// A skinned button that shows the current choice of a short fixed list and opens a popup of it.
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "controls/CustomButton.h"
#include "controls/VKRMenu.h"
#include "controls/WheelNotches.h"

namespace orv {

// The list comes from an item source by list kind (`FillItems`). A user's choice (popup item,
// wheel notch, Up or Down key; Space or Alt+Down opens the popup) stores the index and posts
// WM_PULLDOWN_CHANGED (kind, index) to the message target (the parent widget unless set), also when
// the index stayed the same at an end of the list. `SetSelection` shows an index without posting.
class CVKRPullDownMenu : public CCustomButton {
  Q_OBJECT

 public:
  // The names of a list kind; the views need to live only until FillItems returns.
  using ItemSource = std::function<std::vector<std::string_view>(int kind)>;
  static constexpr int kMaxItems = 10;
  static constexpr int kMaxItemLength = 40;
  static constexpr int kFirstCommand = 10000;

  explicit CVKRPullDownMenu(QWidget* parent = nullptr);
  ~CVKRPullDownMenu() override;

  void SetItemSource(ItemSource source) { m_source = std::move(source); }
  void SetListKind(int kind) { m_kind = kind; }
  int GetListKind() const { return m_kind; }
  // Copies the names of the current list kind (at most 10, each cut to 40 characters).
  void FillItems();
  const QStringList& GetItems() const { return m_items; }
  int GetCount() const { return static_cast<int>(m_items.size()); }

  // Shows entry i when 0 <= i < count; otherwise nothing. Posts nothing.
  void SetSelection(int i);
  int GetSelection() const { return m_current; }

  void SetMessageTarget(QObject* target) { m_target = target; }
  // Font for the caption and the popup items; none = the widget's own font.
  void SetItemFont(const std::optional<QFont>& font);

  void Next();
  void Previous();
  // A user's choice of entry `index` (clamped to the list): stored, shown and posted.
  void Choose(int index);
  // A command of the popup: 10000 + index. Others are ignored.
  void OnCommand(int command);

  // The popup while it is open.
  CVKRMenu* ActiveMenu() const { return m_menu; }
  void OpenPopup();

  QPoint CurrentCell() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void DrawCaption(QPainter& painter) override;

 private:
  QObject* Target() const;

  QStringList m_items;
  int m_current = 0;
  int m_kind = 0;
  std::optional<QFont> m_font;
  ItemSource m_source;
  QObject* m_target = nullptr;
  QPointer<CVKRMenu> m_menu;
  WheelNotches m_wheel;
};

}  // namespace orv
