#include "device/VirtualMidiService.h"

#include <iostream>

namespace orv {

VirtualMidiService::VirtualMidiService() : thread_([this] { run(); }) {}

VirtualMidiService::~VirtualMidiService() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

std::shared_ptr<VirtualMidiService> VirtualMidiService::shared() {
  static const auto service = std::make_shared<VirtualMidiService>();
  return service;
}

VirtualMidiService::DeviceId VirtualMidiService::addDevice(std::string name, Receiver fromComputer,
                                                           Sides sides) {
  std::lock_guard lock(mutex_);
  const DeviceId id = nextId_++;
  devices_[id] =
      Device{std::move(name), sides, std::make_shared<Receiver>(std::move(fromComputer))};
  return id;
}

void VirtualMidiService::removeDevice(DeviceId device) {
  std::unique_lock lock(mutex_);
  if (devices_.erase(device) == 0) return;
  std::erase_if(connections_, [device](const auto& c) { return c.second.device == device; });
  waitForDeliveryLocked(lock);
}

int VirtualMidiService::sendFromDevice(DeviceId device, const uint8_t* bytes, std::size_t length) {
  return enqueue(false, device, bytes, length);
}

std::vector<VirtualMidiService::DeviceId> VirtualMidiService::inputs() const {
  std::lock_guard lock(mutex_);
  std::vector<DeviceId> ids;
  for (const auto& [id, d] : devices_)
    if (d.sides.input) ids.push_back(id);
  return ids;
}

std::vector<VirtualMidiService::DeviceId> VirtualMidiService::outputs() const {
  std::lock_guard lock(mutex_);
  std::vector<DeviceId> ids;
  for (const auto& [id, d] : devices_)
    if (d.sides.output) ids.push_back(id);
  return ids;
}

std::string VirtualMidiService::nameOf(DeviceId device) const {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(device);
  return it == devices_.end() ? std::string() : it->second.name;
}

bool VirtualMidiService::exists(DeviceId device) const {
  std::lock_guard lock(mutex_);
  return devices_.count(device) != 0;
}

VirtualMidiService::ConnectionId VirtualMidiService::connectInput(DeviceId device,
                                                                  Receiver receiver) {
  std::lock_guard lock(mutex_);
  const auto it = devices_.find(device);
  if (it == devices_.end() || !it->second.sides.input) return 0;
  const ConnectionId id = nextId_++;
  connections_[id] = Connection{device, std::make_shared<Receiver>(std::move(receiver))};
  return id;
}

void VirtualMidiService::disconnectInput(ConnectionId connection) {
  std::unique_lock lock(mutex_);
  if (connections_.erase(connection) == 0) return;
  waitForDeliveryLocked(lock);
}

bool VirtualMidiService::isConnected(ConnectionId connection) const {
  std::lock_guard lock(mutex_);
  return connections_.count(connection) != 0;
}

int VirtualMidiService::sendToDevice(DeviceId device, const uint8_t* bytes, std::size_t length) {
  return enqueue(true, device, bytes, length);
}

void VirtualMidiService::flush() {
  if (onDeliveryThread()) return;
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return stop_ || (queue_.empty() && !delivering_); });
}

bool VirtualMidiService::onDeliveryThread() const {
  return std::this_thread::get_id() == thread_.get_id();
}

int VirtualMidiService::enqueue(bool toDevice, DeviceId device, const uint8_t* bytes,
                                std::size_t length) {
  if (bytes == nullptr || length == 0) return kInvalidMessage;
  {
    std::lock_guard lock(mutex_);
    const auto it = devices_.find(device);
    if (it == devices_.end() || !(toDevice ? it->second.sides.output : it->second.sides.input))
      return kNoSuchDevice;
    queue_.push_back(Delivery{toDevice, device, std::vector<uint8_t>(bytes, bytes + length)});
  }
  wake_.notify_one();
  return 0;
}

void VirtualMidiService::waitForDeliveryLocked(std::unique_lock<std::mutex>& lock) {
  if (onDeliveryThread()) return;
  idle_.wait(lock, [this] { return !delivering_; });
}

void VirtualMidiService::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) break;
    Delivery d = std::move(queue_.front());
    queue_.pop_front();
    delivering_ = true;
    deliver(lock, std::move(d));
    delivering_ = false;
    idle_.notify_all();
  }
  queue_.clear();
  idle_.notify_all();
}

// Called with the lock held; releases it while the receivers run.
void VirtualMidiService::deliver(std::unique_lock<std::mutex>& lock, Delivery d) {
  std::vector<std::shared_ptr<Receiver>> receivers;
  if (d.toDevice) {
    const auto it = devices_.find(d.device);
    if (it != devices_.end()) receivers.push_back(it->second.fromComputer);
  } else {
    for (const auto& [id, c] : connections_)
      if (c.device == d.device) receivers.push_back(c.receiver);
  }
  lock.unlock();
  for (const auto& r : receivers) {
    try {
      if (*r) (*r)(d.bytes.data(), d.bytes.size());
    } catch (...) {
      std::cerr << "Exception caught!\n";
    }
  }
  lock.lock();
}

}  // namespace orv
