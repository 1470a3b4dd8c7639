#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/rtmidi/RtMidiBackend.h"

namespace orv {

// A MIDI device on the computer's own MIDI service, as an amplifier appears there: one input and
// one output port that other programs (the editor) list under `name` and connect to.
//  - JACK: one client named exactly `name` (never renamed to "name-01": a second device of the
//    same name is refused) with the ports "in" and "out".
//  - ALSA: sequencer clients named `name` with one port each, "name MIDI 1".
// Used by orv-ampsim, the end-to-end tests and the benchmarks.
//
// Threads: the receiver runs on the service's thread, one complete message per call, and must
// not block. send() may be called from any thread, including the receiver's.
class VirtualDevice {
 public:
  using Receiver = std::function<void(const uint8_t* bytes, std::size_t length)>;

  // Opens the device; throws std::runtime_error with a message fit for the user when the service
  // is missing or the name is taken. Api::Any tries ALSA, then JACK.
  VirtualDevice(RtMidiBackend::Api api, std::string name, Receiver receiver);
  ~VirtualDevice();
  VirtualDevice(const VirtualDevice&) = delete;
  VirtualDevice& operator=(const VirtualDevice&) = delete;

  RtMidiBackend::Api api() const;
  const std::string& name() const;

  // Queues the bytes as one message on the output port and returns at once. The bytes go out
  // as they are (no checks), so tests can send junk. False when the message could not be queued
  // (queue full, service gone).
  bool send(const uint8_t* bytes, std::size_t length);

  // False once the service has shut the device down (e.g. the JACK server stopped).
  bool alive() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv
