#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orv {

// What MidiPort needs from a computer's MIDI service. A backend holds at most one open input and
// one open output at a time. Device numbers are indexes into the lists of the moment.
// Error numbers: 0 = success, anything else = the service's error.
//
// Implementations: an in-process virtual MIDI service (tests, the built-in simulator) and RtMidi.
class MidiBackend {
 public:
  // Called on the service's own thread with one complete message: a System Exclusive message
  // (F0 .. F7) or a short message (1 to 3 bytes).
  using Receiver = std::function<void(const uint8_t* bytes, std::size_t length)>;

  virtual ~MidiBackend() = default;

  // Device names in device-number order, as the service reports them (no "-1" rule applied).
  virtual std::vector<std::string> inputDevices() = 0;
  virtual std::vector<std::string> outputDevices() = 0;

  // Opens input device `device`; received messages go to `receiver` until closeInput().
  // Closes any open input first.
  virtual int openInput(int device, Receiver receiver) = 0;
  // After this returns, the receiver is never called again.
  virtual void closeInput() = 0;
  // The name of the device the open input is connected to, or empty when none is open or the
  // device has gone away.
  virtual std::string openInputName() = 0;

  virtual int openOutput(int device) = 0;
  virtual void closeOutput() = 0;
  virtual std::string openOutputName() = 0;
  // Hands a message to the service and returns at once; never blocks on the device.
  // Returns 0 without sending when no output is open.
  virtual int send(const uint8_t* bytes, std::size_t length) = 0;
};

// Creates the backend MidiPort uses. The program chooses one at start-up.
using MidiBackendFactory = std::function<std::unique_ptr<MidiBackend>()>;

}  // namespace orv
