#pragma once
// A stand-in for the main window: listener of every control, owner of an 800 x 600 back buffer
// composed from a background and the controls' DrawOnto calls, and receiver of posted messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "controls/VKRControlListener.h"
#include "controls/VKREditListener.h"
#include "controls/WindowEvents.h"
#include "support/ShowActive.h"

namespace orv::test {

struct Call {
  int id;
  int value;
  bool operator==(const Call&) const = default;
};

struct Posted {
  int message;
  qintptr wParam;
  qintptr lParam;
  bool operator==(const Posted&) const = default;
};

class ControlsTestHost : public QWidget, public IVKRControlListener, public IVKREditListener {
 public:
  ControlsTestHost() {
    resize(800, 600);
    background = QImage(800, 600, QImage::Format_RGB32);
    background.fill(QColor(10, 20, 30));
  }

  void OnControlChanged(int id, int value) override {
    calls.push_back({id, value});
    if (onControl) onControl(id, value);
  }
  void OnEditChanged(int id, int value) override { calls.push_back({id, value}); }

  // Background, then every drawer in order.
  QImage Compose() {
    QImage buffer(800, 600, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&buffer);
    p.drawImage(0, 0, background);
    for (auto& draw : drawers) draw(p);
    return buffer;
  }

  // Shows the host and makes it the active window, so that focus events arrive.
  void ShowActive() {
    if (!showActive(*this)) ADD_FAILURE() << "the test host never became active";
  }

  // Delivers messages posted to the host.
  void Flush() { QCoreApplication::sendPostedEvents(this); }

  std::vector<Call> calls;
  std::vector<Posted> posted;
  std::vector<std::function<void(QPainter&)>> drawers;
  std::function<void(int, int)> onControl;
  QImage background;

 protected:
  bool event(QEvent* e) override {
    const int t = e->type();
    if (t == WM_PULLDOWN_CHANGED || t == WM_LIST_SCROLL_DOWN || t == WM_LIST_SCROLL_UP ||
        t == WM_DEVICE_EVENT) {
      const auto* m = static_cast<WindowMessage*>(e);
      posted.push_back({t, m->WParam(), m->LParam()});
      return true;
    }
    return QWidget::event(e);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, Compose());
  }
};

// A vertical strip of `frames` frames of `width` x `frameHeight`; frame k is filled with
// red = k, so a drawn pixel tells which frame it came from.
inline QImage FrameStrip(int width, int frameHeight, int frames) {
  QImage strip(width, frameHeight * frames, QImage::Format_ARGB32);
  for (int k = 0; k < frames; ++k)
    for (int y = 0; y < frameHeight; ++y)
      for (int x = 0; x < width; ++x)
        strip.setPixel(x, k * frameHeight + y, qRgba(k, 200, 100, 255));
  return strip;
}

inline QImage Solid(int width, int height, QColor color,
                    QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(color);
  return image;
}

// One wheel event with the given vertical angle delta (120 = one notch away from the user).
inline void Wheel(QWidget* w, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const QPointF pos = QRectF(w->rect()).center();
  QWheelEvent e(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
}

inline void Press(QWidget* w, QPoint p) {
  QTest::mousePress(w, Qt::LeftButton, {}, p);
}
inline void Move(QWidget* w, QPoint p) {
  QTest::mouseMove(w, p);
}
inline void Release(QWidget* w, QPoint p) {
  QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

// A double-click as the window system delivers it: press, release, double-click, release.
inline void DoubleClick(QWidget* w, QPoint p) {
  Press(w, p);
  Release(w, p);
  QMouseEvent twice(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &twice);
  Release(w, p);
}

}  // namespace orv::test
