#pragma once
#include <memory>
#include <mutex>

#include "device/MidiBackend.h"
#include "device/VirtualMidiService.h"

namespace orv {

// The computer's end of a VirtualMidiService, as MidiPort sees any MIDI service.
class VirtualMidiBackend : public MidiBackend {
 public:
  explicit VirtualMidiBackend(std::shared_ptr<VirtualMidiService> service);
  ~VirtualMidiBackend() override;

  std::vector<std::string> inputDevices() override;
  std::vector<std::string> outputDevices() override;
  int openInput(int device, Receiver receiver) override;
  void closeInput() override;
  std::string openInputName() override;
  int openOutput(int device) override;
  void closeOutput() override;
  std::string openOutputName() override;
  int send(const uint8_t* bytes, std::size_t length) override;

  VirtualMidiService& service() { return *service_; }

 private:
  std::vector<std::string> namesOf(const std::vector<VirtualMidiService::DeviceId>& ids);

  const std::shared_ptr<VirtualMidiService> service_;
  std::mutex mutex_;
  VirtualMidiService::DeviceId inputDevice_ = 0;
  VirtualMidiService::ConnectionId connection_ = 0;
  VirtualMidiService::DeviceId outputDevice_ = 0;
};

}  // namespace orv
