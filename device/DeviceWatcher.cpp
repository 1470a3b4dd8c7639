#include "device/DeviceWatcher.h"

#include "device/SysexCodec.h"

namespace orv {

DeviceWatcher::DeviceWatcher(Snapshot snapshot, Changed changed, std::chrono::milliseconds period)
    : snapshot_(std::move(snapshot)), changed_(std::move(changed)), period_(period) {
  thread_ = std::thread([this] { run(); });
}

DeviceWatcher::~DeviceWatcher() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

int DeviceWatcher::changes() const {
  std::lock_guard lock(mutex_);
  return changes_;
}

void DeviceWatcher::run() {
  std::vector<std::string> last;
  bool first = true;
  std::unique_lock lock(mutex_);
  while (!stop_) {
    lock.unlock();
    bool changed = false;
    try {
      auto now = snapshot_();
      changed = !first && now != last;
      last = std::move(now);
      first = false;
      if (changed) changed_();
    } catch (...) {
      sysex::reportDiagnostic("Exception caught!");
    }
    lock.lock();
    if (changed) ++changes_;
    wake_.wait_for(lock, period_, [this] { return stop_; });
  }
}

}  // namespace orv
