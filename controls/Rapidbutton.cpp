#include "controls/Rapidbutton.h"

#include <QElapsedTimer>
#include <QMouseEvent>

#include "controls/WindowEvents.h"

namespace orv {

namespace {
qint64 SteadyMilliseconds() {
  static QElapsedTimer started = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  return started.elapsed();
}
}  // namespace

CRapidbutton::CRapidbutton(QWidget* parent) : CCustomButton(parent), m_clock(SteadyMilliseconds) {
  m_timer.setInterval(kRepeatIntervalMs);
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &CRapidbutton::OnRepeatTimer);
}

CRapidbutton::~CRapidbutton() = default;

void CRapidbutton::SetClock(Clock clock) {
  m_clock = clock ? std::move(clock) : SteadyMilliseconds;
}

void CRapidbutton::StartRepeat() {
  if (m_timer.isActive()) return;
  m_pressTime = m_clock();
  m_pointerOver = true;
  m_timer.start();
}

void CRapidbutton::StopRepeat() {
  m_timer.stop();
}

void CRapidbutton::OnRepeatTimer() {
  if (m_clock() - m_pressTime > m_initialDelay && m_pointerOver)
    PostWindowMessage(m_target, m_message, 0, 0);
}

void CRapidbutton::mousePressEvent(QMouseEvent* event) {
  CCustomButton::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) StartRepeat();
}

void CRapidbutton::mouseMoveEvent(QMouseEvent* event) {
  m_pointerOver = rect().contains(event->position().toPoint());
  CCustomButton::mouseMoveEvent(event);
}

void CRapidbutton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) StopRepeat();
  CCustomButton::mouseReleaseEvent(event);
}

void CRapidbutton::hideEvent(QHideEvent* event) {
  StopRepeat();
  CCustomButton::hideEvent(event);
}

}  // namespace orv
