#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device/rtmidi/RtMidiBackend.h"

namespace orv {

// A MIDI device on the computer's own MIDI service, as an amplifier appears there: one input and
// one output port that other programs (the editor) list under `name` and connect to.
//  - JACK: one client named exactly `name` (never renamed to "name-01": a second device of the
//    same name is refused) with the ports "in" and "out".
//  - ALSA: sequencer clients named `name` with one port each, "name MIDI 1".
// On JACK a device can also show itself the way a bridge to the machine's MIDI hardware shows a
// USB device (see Bridge): the client is the bridge's, the product name is in the port names or
// the port aliases.
// Used by orv-ampsim, the end-to-end tests and the benchmarks.
//
// Threads: the receiver runs on the service's thread, one complete message per call, and must
// not block. send() may be called from any thread, including the receiver's.
class VirtualDevice {
 public:
  using Receiver = std::function<void(const uint8_t* bytes, std::size_t length)>;

  // How the device shows itself on JACK:
  //  - None: a client named as the device, ports "in" and "out";
  //  - A2j: client "a2j", ports "NAME [20] (capture): NAME MIDI 1" and "... (playback): ...";
  //  - System: ports "midi_capture_1" and "midi_playback_1" with the aliases
  //    "alsa_pcm:NAME/midi_capture_1" and "alsa_pcm:NAME/midi_playback_1", as jackd's own ALSA
  //    MIDI driver shows them (on client "system-midi": the server's "system" is taken);
  //  - PipeWire: client "Midi-Bridge", ports "NAME:(capture_0) NAME MIDI 1" and
  //    "NAME:(playback_0) NAME MIDI 1".
  enum class Bridge { None, A2j, System, PipeWire };
  // "a2j", "system", "pipewire"; nothing for anything else.
  static std::optional<Bridge> parseBridge(std::string_view name);
  static const char* bridgeName(Bridge bridge);

  // Opens the device; throws std::runtime_error with a message fit for the user when the service
  // is missing or the name is taken. Api::Any tries ALSA, then JACK; a bridge is JACK only.
  VirtualDevice(RtMidiBackend::Api api, std::string name, Receiver receiver,
                Bridge bridge = Bridge::None);
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
