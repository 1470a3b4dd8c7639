#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "device/DeviceLink.h"
#include "device/DeviceWatcher.h"
#include "device/PortReconnector.h"
#include "device/rtmidi/RtMidiBackend.h"

namespace orv::test {

// The process-wide device link on the RtMidi backend over JACK, wired as the main window wires
// it: device events go through a listener to "its" thread (here the test's, in pump()), where
// event 2 and 3 reach the port reconnector, and the hot-plug watcher's changes make that thread
// run Check ports. Configured port names: "ORV10" for both.
class LinkHarness {
 public:
  using Event = std::pair<int32_t, int32_t>;

  explicit LinkHarness(std::chrono::milliseconds watchPeriod = std::chrono::seconds(1));
  ~LinkHarness();

  DeviceLink& link() { return *link_; }
  RtMidiBackend& backend() { return *backend_; }
  PortReconnector& reconnector() { return reconnector_; }

  // Plays the main window's thread until `done` holds or the time is up.
  bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  // Pumps until an event with `code` (and `value`, unless -1) is among the events seen; consumes
  // the events up to and including it.
  bool waitForEvent(int32_t code, int32_t value = -1,
                    std::chrono::milliseconds timeout = std::chrono::seconds(5));
  // Forgets the events seen so far for waitForEvent().
  void mark();
  // Events other than 3 seen and not consumed, in order.
  std::vector<Event> events();
  int checks() const { return checks_; }

 private:
  static void onEvent(void* self, int32_t code, int32_t value, int32_t reserved);
  // Hands queued events to the reconnector and runs a pending Check ports, waiting up to `wait`
  // for something to do.
  void drain(std::chrono::milliseconds wait);

  DeviceLink* link_ = nullptr;
  RtMidiBackend* backend_ = nullptr;
  PortReconnector reconnector_;
  std::unique_ptr<DeviceWatcher> watcher_;

  std::mutex mutex_;  // queue_ and checkPending_
  std::condition_variable changed_;
  std::deque<Event> queue_;
  bool checkPending_ = false;

  std::vector<Event> seen_;  // the test thread's alone
  int checks_ = 0;
};

}  // namespace orv::test
