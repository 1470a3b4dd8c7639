#pragma once
// The popup list a pull-down opens.
#include <QFont>
#include <QMenu>
#include <optional>

namespace orv {

// Every item is drawn by the menu itself: amber text on black, and black text on amber for the
// item under the pointer; left-aligned and vertically centred. Items are at least 80 pixels wide
// (65 of text room and the usual check-mark column) and widen for a longer name.
class CVKRMenu : public QMenu {
  Q_OBJECT

 public:
  static constexpr int kMinimumWidth = 80;

  explicit CVKRMenu(QWidget* parent = nullptr);
  ~CVKRMenu() override;

  // The font the items are drawn with; none = the widget's default font.
  void SetItemFont(const std::optional<QFont>& font);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawItem(QPainter& painter, const QRect& rect, const QString& text, bool selected) const;

  std::optional<QFont> m_font;
};

}  // namespace orv
