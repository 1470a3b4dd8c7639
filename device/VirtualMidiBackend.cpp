#include "device/VirtualMidiBackend.h"

#include <utility>

namespace orv {

VirtualMidiBackend::VirtualMidiBackend(std::shared_ptr<VirtualMidiService> service)
    : service_(std::move(service)) {}

VirtualMidiBackend::~VirtualMidiBackend() {
  closeInput();
  closeOutput();
}

std::vector<std::string> VirtualMidiBackend::namesOf(
    const std::vector<VirtualMidiService::DeviceId>& ids) {
  std::vector<std::string> names;
  names.reserve(ids.size());
  for (const auto id : ids) names.push_back(service_->nameOf(id));
  return names;
}

std::vector<std::string> VirtualMidiBackend::inputDevices() {
  return namesOf(service_->inputs());
}

std::vector<std::string> VirtualMidiBackend::outputDevices() {
  return namesOf(service_->outputs());
}

int VirtualMidiBackend::openInput(int device, Receiver receiver) {
  closeInput();
  const auto ids = service_->inputs();
  if (device < 0 || std::size_t(device) >= ids.size()) return VirtualMidiService::kNoSuchDevice;
  const auto connection = service_->connectInput(ids[device], std::move(receiver));
  if (connection == 0) return VirtualMidiService::kNoSuchDevice;
  std::lock_guard lock(mutex_);
  inputDevice_ = ids[device];
  connection_ = connection;
  return 0;
}

void VirtualMidiBackend::closeInput() {
  VirtualMidiService::ConnectionId connection;
  {
    std::lock_guard lock(mutex_);
    connection = std::exchange(connection_, 0);
    inputDevice_ = 0;
  }
  // Outside our lock: this waits for a delivery that may be running the receiver.
  if (connection != 0) service_->disconnectInput(connection);
}

std::string VirtualMidiBackend::openInputName() {
  std::lock_guard lock(mutex_);
  if (connection_ == 0 || !service_->isConnected(connection_)) return {};
  return service_->nameOf(inputDevice_);
}

int VirtualMidiBackend::openOutput(int device) {
  closeOutput();
  const auto ids = service_->outputs();
  if (device < 0 || std::size_t(device) >= ids.size()) return VirtualMidiService::kNoSuchDevice;
  std::lock_guard lock(mutex_);
  outputDevice_ = ids[device];
  return 0;
}

void VirtualMidiBackend::closeOutput() {
  std::lock_guard lock(mutex_);
  outputDevice_ = 0;
}

std::string VirtualMidiBackend::openOutputName() {
  std::lock_guard lock(mutex_);
  return outputDevice_ == 0 ? std::string() : service_->nameOf(outputDevice_);
}

int VirtualMidiBackend::send(const uint8_t* bytes, std::size_t length) {
  VirtualMidiService::DeviceId device;
  {
    std::lock_guard lock(mutex_);
    device = outputDevice_;
  }
  if (device == 0) return 0;
  return service_->sendToDevice(device, bytes, length);
}

}  // namespace orv
