#include "device/rtmidi/VirtualDevice.h"

#include <RtMidi.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <utility>

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

// The client's name and the ports of a device shown the way `bridge` shows it.
std::pair<std::string, rtmidi::JackClient::PortNames> jackNames(const std::string& device,
                                                                VirtualDevice::Bridge bridge) {
  using Bridge = VirtualDevice::Bridge;
  rtmidi::JackClient::PortNames p;
  switch (bridge) {
    case Bridge::A2j:
      p.out = device + " [20] (capture): " + device + " MIDI 1";
      p.in = device + " [20] (playback): " + device + " MIDI 1";
      return {"a2j", p};
    case Bridge::System:
      p.out = "midi_capture_1";
      p.in = "midi_playback_1";
      p.outAlias = "alsa_pcm:" + device + "/midi_capture_1";
      p.inAlias = "alsa_pcm:" + device + "/midi_playback_1";
      return {"system-midi", p};
    case Bridge::PipeWire:
      p.out = device + ":(capture_0) " + device + " MIDI 1";
      p.in = device + ":(playback_0) " + device + " MIDI 1";
      return {"Midi-Bridge", p};
    default:
      return {device, p};
  }
}

// One JACK client named exactly as the device (or as the bridge), with its two ports.
class JackDevice final : public VirtualDevice::Impl {
 public:
  JackDevice(const std::string& deviceName, VirtualDevice::Receiver receiver,
             VirtualDevice::Bridge bridge)
      : client_(jackNames(deviceName, bridge).first, true, std::move(receiver),
                jackNames(deviceName, bridge).second) {
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
                                          const VirtualDevice::Receiver& receiver,
                                          VirtualDevice::Bridge bridge) {
  if (api == RtMidiBackend::Api::Jack) return std::make_unique<JackDevice>(name, receiver, bridge);
  if (bridge != VirtualDevice::Bridge::None)
    throw std::runtime_error("a bridge is shown on JACK only");
  std::string why;
  if (!RtMidiBackend::serviceAvailable(api, why)) throw std::runtime_error(why);
  return std::make_unique<AlsaDevice>(name, receiver);
}

}  // namespace

std::optional<VirtualDevice::Bridge> VirtualDevice::parseBridge(std::string_view name) {
  for (Bridge b : {Bridge::None, Bridge::A2j, Bridge::System, Bridge::PipeWire})
    if (name == bridgeName(b)) return b;
  return std::nullopt;
}

const char* VirtualDevice::bridgeName(Bridge bridge) {
  switch (bridge) {
    case Bridge::A2j:
      return "a2j";
    case Bridge::System:
      return "system";
    case Bridge::PipeWire:
      return "pipewire";
    default:
      return "none";
  }
}

VirtualDevice::VirtualDevice(RtMidiBackend::Api api, std::string name, Receiver receiver,
                             Bridge bridge) {
  if (name.empty()) throw std::runtime_error("a device needs a name");
  if (bridge != Bridge::None && api == RtMidiBackend::Api::Any) api = RtMidiBackend::Api::Jack;
  if (api != RtMidiBackend::Api::Any) {
    impl_ = open(api, name, receiver, bridge);
    return;
  }
  std::string whyAll;
  for (auto candidate : {RtMidiBackend::Api::Alsa, RtMidiBackend::Api::Jack}) {
    try {
      impl_ = open(candidate, name, receiver, bridge);
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
