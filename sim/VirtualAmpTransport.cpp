#include "sim/VirtualAmpTransport.h"

#include <utility>

namespace orv {

VirtualAmpTransport::VirtualAmpTransport(std::shared_ptr<VirtualMidiService> service)
    : service_(std::move(service)) {}

VirtualAmpTransport::~VirtualAmpTransport() {
  close();
}

int VirtualAmpTransport::open(const std::string& name, Receiver receiver) {
  close();
  const auto device = service_->addDevice(name, std::move(receiver));
  std::lock_guard lock(mutex_);
  device_ = device;
  return 0;
}

void VirtualAmpTransport::close() {
  VirtualMidiService::DeviceId device;
  {
    std::lock_guard lock(mutex_);
    device = std::exchange(device_, 0);
  }
  // Outside our lock: removal waits for a delivery that may be running the receiver.
  if (device != 0) service_->removeDevice(device);
}

bool VirtualAmpTransport::isOpen() const {
  std::lock_guard lock(mutex_);
  return device_ != 0;
}

int VirtualAmpTransport::send(const uint8_t* bytes, std::size_t length) {
  VirtualMidiService::DeviceId device;
  {
    std::lock_guard lock(mutex_);
    device = device_;
  }
  if (device == 0) return VirtualMidiService::kNoSuchDevice;
  return service_->sendFromDevice(device, bytes, length);
}

}  // namespace orv
