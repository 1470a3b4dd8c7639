#pragma once
// A skinned button that, while held, posts a message again and again.
#include <QEvent>
#include <QTimer>
#include <functional>

#include "controls/CustomButton.h"

namespace orv {

// From a left press (or double-click) until the left release, a 50 ms timer runs; every tick
// more than the initial delay after the press posts the message (both parameters 0) to the
// target, but only while the pointer is over the button: moving off pauses the repeats, coming
// back resumes them without a new delay. The ordinary click on a release over the button acts
// once more. The owner may also start and stop the repetition itself; both are idempotent.
class CRapidbutton : public CCustomButton {
  Q_OBJECT

 public:
  // Milliseconds on a monotonic clock.
  using Clock = std::function<qint64()>;
  static constexpr int kRepeatIntervalMs = 50;

  explicit CRapidbutton(QWidget* parent = nullptr);
  ~CRapidbutton() override;

  void SetTarget(QObject* target) { m_target = target; }
  QObject* GetTarget() const { return m_target; }
  void SetMessage(QEvent::Type message) { m_message = message; }
  QEvent::Type GetMessage() const { return m_message; }
  void SetInitialDelay(int ms) { m_initialDelay = ms; }
  int GetInitialDelay() const { return m_initialDelay; }
  // Replaces the clock (tests drive time with it).
  void SetClock(Clock clock);

  void StartRepeat();
  void StopRepeat();
  bool IsRepeating() const { return m_timer.isActive(); }
  int RepeatInterval() const { return m_timer.interval(); }

  // What each timer tick does.
  void OnRepeatTimer();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QTimer m_timer;
  QObject* m_target = nullptr;
  QEvent::Type m_message = QEvent::None;
  int m_initialDelay = 500;
  qint64 m_pressTime = 0;
  bool m_pointerOver = true;
  Clock m_clock;
};

}  // namespace orv
