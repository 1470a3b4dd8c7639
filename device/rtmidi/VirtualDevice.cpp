#include "device/rtmidi/VirtualDevice.h"

#include <RtMidi.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <stdexcept>

#include "device/rtmidi/JackClient.h"

namespace orv {

struct VirtualDevice::Impl {
  virtual ~Impl() = default;
  virtual bool send(const uint8_t* bytes, std::size_t length) = 0;
  virtual bool alive() const = 0;
  RtMidiBackend::Api api = RtMidiBackend::Api::Any;
  std::string name;
};

namespace {

// One JACK client named exactly as the device, with the ports "in" and "out".
class JackDevice final : public VirtualDevice::Impl {
 public:
  JackDevice(const std::string& deviceName, VirtualDevice::Receiver receiver)
      : client_(deviceName, true, std::move(receiver)) {
    api = RtMidiBackend::Api::Jack;
    name = deviceName;
  }
  bool send(const uint8_t* bytes, std::size_t length) override {
    return client_.send(bytes, length);
  }
  bool alive() const override { return client_.alive(); }

 private:
  rtmidi::JackClient client_;
};

// Two sequencer clients named as the device, each with one port "name MIDI 1", as a USB device
// appears: the output port readable (listed as an input), the input port writable.
class AlsaDevice final : public VirtualDevice::Impl {
 public:
  AlsaDevice(const std::string& deviceName, VirtualDevice::Receiver receiver)
      : receiver_(std::move(receiver)) {
    try {
      in_ = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, deviceName);
      in_->setErrorCallback(&AlsaDevice::onError, this);
      in_->ignoreTypes(false, true, true);
      in_->setCallback(&AlsaDevice::onMessage, this);
      in_->openVirtualPort(deviceName + " MIDI 1");
      out_ = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, deviceName);
      out_->setErrorCallback(&AlsaDevice::onError, this);
      out_->openVirtualPort(deviceName + " MIDI 1");
    } catch (const RtMidiError& e) {
      throw std::runtime_error("ALSA: " + e.getMessage());
    }
    if (failed_.load()) throw std::runtime_error("ALSA refused the device's ports");
    api = RtMidiBackend::Api::Alsa;
    name = deviceName;
  }

  bool send(const uint8_t* bytes, std::size_t length) override {
    if (length == 0) return false;
    std::lock_guard lock(sendMutex_);
    failed_.store(false);
    try {
      out_->sendMessage(bytes, length);
    } catch (const RtMidiError&) {
      return false;
    }
    return !failed_.load();
  }

  bool alive() const override { return true; }

 private:
  static void onMessage(double, std::vector<unsigned char>* message, void* self) {
    if (message != nullptr && !message->empty())
      static_cast<AlsaDevice*>(self)->receiver_(message->data(), message->size());
  }
  static void onError(RtMidiError::Type, const std::string&, void* self) {
    static_cast<AlsaDevice*>(self)->failed_.store(true);
  }

  VirtualDevice::Receiver receiver_;
  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
  std::mutex sendMutex_;
  std::atomic<bool> failed_{false};
};

std::unique_ptr<VirtualDevice::Impl> open(RtMidiBackend::Api api, const std::string& name,
                                          const VirtualDevice::Receiver& receiver) {
  if (api == RtMidiBackend::Api::Jack) return std::make_unique<JackDevice>(name, receiver);
  std::string why;
  if (!RtMidiBackend::serviceAvailable(api, why)) throw std::runtime_error(why);
  return std::make_unique<AlsaDevice>(name, receiver);
}

}  // namespace

VirtualDevice::VirtualDevice(RtMidiBackend::Api api, std::string name, Receiver receiver) {
  if (name.empty()) throw std::runtime_error("a device needs a name");
  if (api != RtMidiBackend::Api::Any) {
    impl_ = open(api, name, receiver);
    return;
  }
  std::string whyAll;
  for (auto candidate : {RtMidiBackend::Api::Alsa, RtMidiBackend::Api::Jack}) {
    try {
      impl_ = open(candidate, name, receiver);
      return;
    } catch (const std::runtime_error& e) {
      whyAll += (whyAll.empty() ? "" : "; ") + std::string(e.what());
    }
  }
  throw std::runtime_error("no MIDI service: " + whyAll);
}

VirtualDevice::~VirtualDevice() = default;

RtMidiBackend::Api VirtualDevice::api() const {
  return impl_->api;
}
const std::string& VirtualDevice::name() const {
  return impl_->name;
}
bool VirtualDevice::send(const uint8_t* bytes, std::size_t length) {
  return impl_->send(bytes, length);
}
bool VirtualDevice::alive() const {
  return impl_->alive();
}

}  // namespace orv
