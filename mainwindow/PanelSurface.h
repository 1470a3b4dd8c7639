#pragma once
#include <QWidget>
#include <functional>

namespace orv {

// The window's 800 x 600 client area below the menu bar. The panel's controls are its children;
// it paints the whole area itself (background, knobs, pictures, texts), so nothing is erased
// first. Qt composes every paint in the window's back buffer and shows it in one transfer.
class PanelSurface : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  using Painter = std::function<void(QPainter&, const QRect& exposed)>;

  explicit PanelSurface(QWidget* parent = nullptr);
  void setPainter(Painter painter) { painter_ = std::move(painter); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Painter painter_;
};

}  // namespace orv
