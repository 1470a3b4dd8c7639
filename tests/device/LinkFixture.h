#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "DiagnosticCapture.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/VirtualMidiBackend.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"

namespace orv::testing {

struct Event {
  int32_t code;
  int32_t value;
  bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
  return os << "{" << e.code << ", " << e.value << "}";
}

// A device-link listener that records every event.
class EventLog {
 public:
  static void listener(void* context, int32_t code, int32_t value, int32_t) {
    auto* self = static_cast<EventLog*>(context);
    {
      std::lock_guard lock(self->mutex_);
      self->events_.push_back({code, value});
    }
    self->changed_.notify_all();
  }
  std::vector<Event> take() {
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
  }
  // Waits for an event with `code`; the events up to and including it are taken.
  bool waitFor(int32_t code, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
      return std::any_of(events_.begin(), events_.end(),
                         [&](const Event& e) { return e.code == code; });
    });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Event> events_;
};

// A clock that moves only when told.
class ManualClock {
 public:
  DeviceLink::Clock::time_point now() const {
    return DeviceLink::Clock::time_point(std::chrono::nanoseconds(ns_.load()));
  }
  void advance(std::chrono::nanoseconds d) { ns_ += d.count(); }

 private:
  std::atomic<int64_t> ns_{std::chrono::nanoseconds(std::chrono::milliseconds(1000600)).count()};
};

// The device link on a fresh virtual MIDI service with our simulator plugged in, ports open,
// and time driven by hand.
class LinkTest : public ::testing::Test {
 protected:
  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  DiagnosticCapture diagnostics;
  ManualClock clock;
  EventLog events;
  std::unique_ptr<AmpSimulator> amp;
  DeviceLink* link = nullptr;

  void SetUp() override {
    DeviceLink::setBackendFactory(
        [s = service] { return std::make_unique<VirtualMidiBackend>(s); });
    link = &DeviceLink::instance();
    link->setClockForTesting([this] { return clock.now(); });
    link->addListener(&EventLog::listener, &events);
  }
  void TearDown() override {
    DeviceLink::destroy();
    DeviceLink::setBackendFactory({});
    amp.reset();
  }

  // Plugs in a silent amplifier (Identities only when a test sends them) and opens its ports.
  void plugIn(AmpSimulator::Options options = {}) {
    amp = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service), options);
    amp->setSilent(true);
    ASSERT_EQ(amp->start(), 0);
    link->openPorts(link->port().findInput(options.name), link->port().findOutput(options.name));
  }
  // Everything sent so far has been delivered, and everything that caused as well.
  void settle() { service->flush(); }
  // One tick after the wire settled; returns the events it delivered.
  std::vector<Event> tick() {
    settle();
    link->tick();
    return events.take();
  }
  // Identity from the amplifier, then a tick.
  std::vector<Event> identity() {
    amp->sendIdentity();
    return tick();
  }
  void connect() {
    identity();
    ASSERT_TRUE(link->isConnected());
    amp->clearReceived();
  }
  std::size_t dumpRequests() const {
    const auto log = amp->received();
    return std::count_if(log.begin(), log.end(), &AmpSimulator::isDumpRequest);
  }
  // Ticks every 50 ms for `span`; returns every event delivered.
  std::vector<Event> run(std::chrono::milliseconds span) {
    std::vector<Event> all;
    for (auto t = std::chrono::milliseconds(0); t < span; t += std::chrono::milliseconds(50)) {
      clock.advance(std::chrono::milliseconds(50));
      const auto e = tick();
      all.insert(all.end(), e.begin(), e.end());
    }
    return all;
  }
};

// The process-wide link over `service`, its real tick thread running, listened to by `events`,
// and connected to a simulator that announces itself every `identityPeriod`.
inline std::unique_ptr<AmpSimulator> connectRealTimeLink(
    const std::shared_ptr<VirtualMidiService>& service, EventLog& events,
    std::chrono::milliseconds identityPeriod) {
  DeviceLink::setBackendFactory(
      [service] { return std::make_unique<VirtualMidiBackend>(service); });
  DeviceLink& link = DeviceLink::instance();
  link.addListener(&EventLog::listener, &events);
  AmpSimulator::Options o;
  o.identityPeriod = identityPeriod;
  auto amp = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service), o);
  EXPECT_EQ(amp->start(), 0);
  link.openPorts(link.port().findInput("ORV10"), link.port().findOutput("ORV10"));
  return amp;
}

inline bool contains(const std::vector<Event>& events, int32_t code) {
  return std::any_of(events.begin(), events.end(), [&](const Event& e) { return e.code == code; });
}

}  // namespace orv::testing
