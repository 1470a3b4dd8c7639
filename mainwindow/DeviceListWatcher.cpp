#include "mainwindow/DeviceListWatcher.h"

namespace orv {

DeviceListWatcher::DeviceListWatcher(Lister lister, std::function<void()> changed, QObject* parent)
    : QObject(parent), lister_(std::move(lister)), changed_(std::move(changed)) {
  timer_.setTimerType(Qt::CoarseTimer);
  connect(&timer_, &QTimer::timeout, this, &DeviceListWatcher::poll);
}

void DeviceListWatcher::start(int intervalMs) {
  if (!haveLast_) {
    last_ = lister_();
    haveLast_ = true;
  }
  timer_.start(intervalMs);
}

bool DeviceListWatcher::poll() {
  Snapshot now = lister_();
  if (haveLast_ && now == last_) return false;
  const bool first = !haveLast_;
  last_ = std::move(now);
  haveLast_ = true;
  if (first) return false;
  changed_();
  return true;
}

}  // namespace orv
