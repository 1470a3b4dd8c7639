#include "device/PortReconnector.h"

#include "device/DeviceLink.h"
#include "device/MidiPort.h"

namespace orv {

PortReconnector::PortReconnector(DeviceLink& link) : link_(link) {}

void PortReconnector::setPortNames(std::string input, std::string output) {
  std::lock_guard lock(mutex_);
  input_ = std::move(input);
  output_ = std::move(output);
}

void PortReconnector::onDeviceEvent(int32_t code) {
  if (code == EVENT_DISCONNECTED) {
    std::lock_guard lock(mutex_);
    portsOpen_ = false;
    return;
  }
  if (code != EVENT_NOT_CONNECTED || portsOpen()) return;
  try {
    openConfigured();
  } catch (...) {
    // Tried again on the next tick.
  }
}

bool PortReconnector::openConfigured() {
  std::lock_guard lock(mutex_);
  if (input_.empty() || output_.empty()) return false;
  MidiPort& port = link_.port();
  const int in = port.findInput(input_);
  const int out = port.findOutput(output_);
  if (in < 0 || out < 0) return false;
  link_.openPorts(in, out);
  portsOpen_ = true;
  ++opened_;
  // The input runs before the output is open. An Identity arriving in between connects the link,
  // but its Dump Request found no output and went nowhere, and no other would follow: ask again.
  // A second request is harmless (an equal Bulk Dump changes nothing).
  if (link_.isConnected()) link_.requestDump();
  return true;
}

bool PortReconnector::portsOpen() const {
  std::lock_guard lock(mutex_);
  return portsOpen_;
}

int PortReconnector::opened() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

}  // namespace orv
