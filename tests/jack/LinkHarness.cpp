#include "jack/LinkHarness.h"

#include "device/MidiPort.h"

namespace orv::test {

namespace {

DeviceLink& linkOnJack() {
  DeviceLink::setBackendFactory(RtMidiBackend::factory(RtMidiBackend::Api::Jack));
  return DeviceLink::instance();
}

}  // namespace

LinkHarness::LinkHarness(std::chrono::milliseconds watchPeriod)
    : link_(&linkOnJack()), reconnector_(*link_) {
  backend_ = dynamic_cast<RtMidiBackend*>(&link_->port().backend());
  reconnector_.setPortNames("ORV10", "ORV10");
  link_->addListener(&LinkHarness::onEvent, this);
  watcher_ = std::make_unique<DeviceWatcher>([b = backend_] { return b->deviceSnapshot(); },
                                             [this] {
                                               {
                                                 std::lock_guard lock(mutex_);
                                                 checkPending_ = true;
                                               }
                                               changed_.notify_all();
                                             },
                                             watchPeriod);
}

LinkHarness::~LinkHarness() {
  watcher_.reset();
  link_->removeListener(&LinkHarness::onEvent);
  DeviceLink::destroy();
  DeviceLink::setBackendFactory(nullptr);
}

void LinkHarness::onEvent(void* self, int32_t code, int32_t value, int32_t) {
  auto* h = static_cast<LinkHarness*>(self);
  {
    std::lock_guard lock(h->mutex_);
    h->queue_.emplace_back(code, value);
  }
  h->changed_.notify_all();
}

void LinkHarness::drain(std::chrono::milliseconds wait) {
  std::deque<Event> events;
  bool check = false;
  {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this] { return checkPending_ || !queue_.empty(); });
    events.swap(queue_);
    check = std::exchange(checkPending_, false);
  }
  if (check) {
    ++checks_;
    link_->checkPorts();  // event 2 comes back through the listener at once
  }
  for (const auto& [code, value] : events) {
    reconnector_.onDeviceEvent(code);
    if (code != EVENT_NOT_CONNECTED) seen_.emplace_back(code, value);
  }
}

bool LinkHarness::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    drain(std::chrono::milliseconds(0));
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    drain(std::chrono::milliseconds(10));
  }
}

bool LinkHarness::waitForEvent(int32_t code, int32_t value, std::chrono::milliseconds timeout) {
  std::size_t next = 0;
  return pumpUntil(
      [&] {
        for (; next < seen_.size(); ++next)
          if (seen_[next].first == code && (value < 0 || seen_[next].second == value)) {
            seen_.erase(seen_.begin(), seen_.begin() + long(next) + 1);
            return true;
          }
        return false;
      },
      timeout);
}

void LinkHarness::mark() {
  drain(std::chrono::milliseconds(0));
  seen_.clear();
}

std::vector<LinkHarness::Event> LinkHarness::events() {
  return seen_;
}

}  // namespace orv::test
