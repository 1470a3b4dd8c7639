#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv {

// Notices MIDI devices being plugged in or out. The computer's MIDI services announce no such
// thing, so the watcher takes a cheap snapshot of the device lists every period (about once a
// second) on a thread of its own and calls `changed` when it differs from the one before. The
// main window hands that on to its own thread and runs Check ports there.
//
// `snapshot` and `changed` run on the watcher's thread; `changed` must not block. The
// destructor stops the thread; after it returns neither function runs again.
class DeviceWatcher {
 public:
  using Snapshot = std::function<std::vector<std::string>()>;
  using Changed = std::function<void()>;

  DeviceWatcher(Snapshot snapshot, Changed changed,
                std::chrono::milliseconds period = std::chrono::seconds(1));
  ~DeviceWatcher();
  DeviceWatcher(const DeviceWatcher&) = delete;
  DeviceWatcher& operator=(const DeviceWatcher&) = delete;

  // How many changes were reported so far.
  int changes() const;

 private:
  void run();

  const Snapshot snapshot_;
  const Changed changed_;
  const std::chrono::milliseconds period_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  int changes_ = 0;
  std::thread thread_;
};

}  // namespace orv
