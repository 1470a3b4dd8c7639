#pragma once
#include <memory>
#include <mutex>

#include "device/VirtualMidiService.h"
#include "sim/AmpTransport.h"

namespace orv {

// The amplifier as a device of an in-process VirtualMidiService.
class VirtualAmpTransport : public AmpTransport {
 public:
  explicit VirtualAmpTransport(std::shared_ptr<VirtualMidiService> service);
  ~VirtualAmpTransport() override;

  int open(const std::string& name, Receiver receiver) override;
  void close() override;
  bool isOpen() const override;
  int send(const uint8_t* bytes, std::size_t length) override;

 private:
  const std::shared_ptr<VirtualMidiService> service_;
  mutable std::mutex mutex_;
  VirtualMidiService::DeviceId device_ = 0;
};

}  // namespace orv
