#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "device/rtmidi/RtMidiBackend.h"
#include "device/rtmidi/VirtualDevice.h"
#include "sim/AmpTransport.h"

namespace orv {

// The simulator's ports on the computer's own MIDI service (JACK or ALSA), as a VirtualDevice:
// to the editor it is a device like a USB amplifier. An optional tap sees every received
// message after the simulator has dealt with it (orv-ampsim prints them).
class ServiceAmpTransport final : public AmpTransport {
 public:
  static constexpr int kErrorOpen = 1;    // the service refused the device; see lastError()
  static constexpr int kErrorClosed = 5;  // sending while the ports are closed

  explicit ServiceAmpTransport(RtMidiBackend::Api api, Receiver tap = nullptr,
                               VirtualDevice::Bridge bridge = VirtualDevice::Bridge::None)
      : api_(api), bridge_(bridge), tap_(std::move(tap)) {}
  ~ServiceAmpTransport() override { close(); }

  int open(const std::string& name, Receiver receiver) override {
    close();
    Receiver deliver = [tap = tap_, receiver = std::move(receiver)](const uint8_t* b,
                                                                    std::size_t n) {
      receiver(b, n);
      if (tap) tap(b, n);
    };
    try {
      auto device = std::make_shared<VirtualDevice>(api_, name, std::move(deliver), bridge_);
      std::lock_guard lock(mutex_);
      device_ = std::move(device);
      error_.clear();
      return 0;
    } catch (const std::exception& e) {
      std::lock_guard lock(mutex_);
      error_ = e.what();
      return kErrorOpen;
    }
  }

  // The device is destroyed outside the lock: its receiver may be sending at this moment.
  void close() override {
    std::shared_ptr<VirtualDevice> device;
    {
      std::lock_guard lock(mutex_);
      device = std::move(device_);
    }
  }

  bool isOpen() const override {
    std::lock_guard lock(mutex_);
    return device_ != nullptr;
  }

  int send(const uint8_t* bytes, std::size_t length) override {
    std::shared_ptr<VirtualDevice> device;
    {
      std::lock_guard lock(mutex_);
      device = device_;
    }
    if (!device) return kErrorClosed;
    return device->send(bytes, length) ? 0 : RtMidiBackend::kErrorBusy;
  }

  // Whether the service the device was on went away (the JACK server stopped) while it is open.
  bool serviceLost() const {
    std::lock_guard lock(mutex_);
    return device_ && !device_->alive();
  }

  // Why the last open() failed.
  std::string lastError() const {
    std::lock_guard lock(mutex_);
    return error_;
  }
  // The service the device is on (Api::Any while closed).
  RtMidiBackend::Api api() const {
    std::lock_guard lock(mutex_);
    return device_ ? device_->api() : RtMidiBackend::Api::Any;
  }

 private:
  const RtMidiBackend::Api api_;
  const VirtualDevice::Bridge bridge_;
  const Receiver tap_;
  mutable std::mutex mutex_;
  std::shared_ptr<VirtualDevice> device_;
  std::string error_;
};

}  // namespace orv
