#pragma once
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace orv {

// Notices that MIDI devices came or went by comparing the service's device lists at a slow
// pace, and then runs `changed` (which makes the device link check its ports). The comparison
// is cheap: two short lists of names once a second.
class DeviceListWatcher : public QObject {
  Q_OBJECT
 public:
  // Inputs and outputs as one snapshot: what is compared from one poll to the next.
  using Snapshot = std::vector<std::string>;
  using Lister = std::function<Snapshot()>;

  static constexpr int kIntervalMs = 1000;

  DeviceListWatcher(Lister lister, std::function<void()> changed, QObject* parent = nullptr);

  void start(int intervalMs = kIntervalMs);
  void stop() { timer_.stop(); }
  // One comparison; true when the lists differed from the previous poll.
  bool poll();

 private:
  Lister lister_;
  std::function<void()> changed_;
  Snapshot last_;
  bool haveLast_ = false;
  QTimer timer_;
};

}  // namespace orv
