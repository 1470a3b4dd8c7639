#include "device/rtmidi/AlsaService.h"

#include <RtMidi.h>

#include <stdexcept>

#include "device/rtmidi/RtMidiBackend.h"

namespace orv::rtmidi {

struct AlsaService::Side {
  std::mutex mutex;  // guards the RtMidi object
  std::unique_ptr<RtMidiIn> in;
  std::unique_ptr<RtMidiOut> out;
  // RtMidi reports errors through this callback, on the thread of the failing call.
  std::mutex errorMutex;
  std::string error;

  RtMidi& rt() { return in ? static_cast<RtMidi&>(*in) : static_cast<RtMidi&>(*out); }
  void clearError() {
    std::lock_guard lock(errorMutex);
    error.clear();
  }
  bool failed() {
    std::lock_guard lock(errorMutex);
    return !error.empty();
  }
  static void onError(RtMidiError::Type, const std::string& text, void* self) {
    auto* s = static_cast<Side*>(self);
    std::lock_guard lock(s->errorMutex);
    s->error = text.empty() ? "error" : text;
  }
};

AlsaService::AlsaService(const std::string& clientName, Sink sink)
    : clientName_(clientName),
      sink_(std::move(sink)),
      in_(std::make_unique<Side>()),
      out_(std::make_unique<Side>()) {
  try {
    in_->in = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, clientName_);
    in_->in->setErrorCallback(&Side::onError, in_.get());
    in_->in->ignoreTypes(false, true, true);  // System Exclusive in; clock and active sensing out
    in_->in->setCallback(&AlsaService::onMessage, this);
    out_->out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, clientName_);
    out_->out->setErrorCallback(&Side::onError, out_.get());
  } catch (const RtMidiError& e) {
    throw std::runtime_error("ALSA: " + e.getMessage());
  }
}

AlsaService::~AlsaService() = default;

std::vector<std::string> AlsaService::ports(Dir d) {
  Side& s = d == Dir::In ? *in_ : *out_;
  std::lock_guard lock(s.mutex);
  std::vector<std::string> names;
  try {
    const unsigned n = s.rt().getPortCount();
    for (unsigned i = 0; i < n; ++i) names.push_back(s.rt().getPortName(i));
  } catch (const RtMidiError&) {
    names.clear();
  }
  return names;
}

std::string AlsaService::clientName() const {
  return clientName_;
}

int AlsaService::connect(Dir d, unsigned index, const std::string&) {
  Side& s = d == Dir::In ? *in_ : *out_;
  std::lock_guard lock(s.mutex);
  s.clearError();
  try {
    if (s.in) {
      s.in->closePort();
      s.in->openPort(index, "in");
    } else {
      s.out->closePort();
      s.out->openPort(index, "out");
    }
  } catch (const RtMidiError& e) {
    Side::onError(e.getType(), e.getMessage(), &s);
  }
  return s.failed() ? RtMidiBackend::kErrorService : 0;
}

void AlsaService::disconnect(Dir d) {
  Side& s = d == Dir::In ? *in_ : *out_;
  std::lock_guard lock(s.mutex);
  try {
    if (s.in)
      s.in->closePort();
    else
      s.out->closePort();
  } catch (const RtMidiError&) {
  }
}

// ALSA removes a vanished device's client; RtMidiBackend notices that in the device lists.
bool AlsaService::stillConnected(Dir) {
  return true;
}

int AlsaService::send(const uint8_t* bytes, std::size_t length) {
  std::lock_guard lock(out_->mutex);
  out_->clearError();
  try {
    out_->out->sendMessage(bytes, length);
  } catch (const RtMidiError& e) {
    Side::onError(e.getType(), e.getMessage(), out_.get());
  }
  return out_->failed() ? RtMidiBackend::kErrorService : 0;
}

bool AlsaService::alive() const {
  return true;
}

void AlsaService::onMessage(double, std::vector<unsigned char>* message, void* self) {
  if (message != nullptr && !message->empty())
    static_cast<AlsaService*>(self)->sink_(message->data(), message->size());
}

}  // namespace orv::rtmidi
