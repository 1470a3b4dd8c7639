#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/MidiBackend.h"

namespace orv {

// One MIDI input and one MIDI output of the computer's MIDI service, reached through a
// MidiBackend. Lists devices by name, opens ports by device number, sends without blocking,
// hands every received message to one handler and re-checks its ports after the machine's
// device list changed. Knows nothing of the amplifier's messages or of connection state.
//
// Threads: the handler runs on the MIDI service's thread; sends may come from any thread and
// never interleave on the output; the other operations belong to the UI thread.
class MidiPort {
 public:
  using Handler = std::function<void(const uint8_t* bytes, std::size_t length)>;

  // The largest piece of a System Exclusive message handed on at once.
  static constexpr std::size_t kInputBufferSize = 512;
  // Error number of Start input without an open input.
  static constexpr int kNoInput = 5;

  explicit MidiPort(std::unique_ptr<MidiBackend> backend);
  ~MidiPort();
  MidiPort(const MidiPort&) = delete;
  MidiPort& operator=(const MidiPort&) = delete;

  // Device names in device-number order, with the "-1" rule applied: a name containing "-1"
  // anywhere loses its last two characters.
  std::vector<std::string> listInputs();
  std::vector<std::string> listOutputs();
  static std::string listedName(std::string name);
  // Index of the first listed name equal to `name` (byte for byte), or -1.
  int findInput(const std::string& name);
  int findOutput(const std::string& name);

  // Opens input `device` (closing any open input first); messages reach `handler` only after
  // startInput().
  int openInput(int device, Handler handler);
  int startInput();
  int closeInput();
  bool isInputOpen() const;
  bool isInputRunning() const;

  // Opens output `device` (resetting and closing any open output first).
  int openOutput(int device);
  int resetOutput();
  bool hasOutput() const;
  // The output-open flag, set by the device link after a successful open, cleared by a reset.
  void setOutputOpen(bool open);
  bool isOutputOpen() const;
  // 0 without sending when no output is open.
  int send(const uint8_t* bytes, std::size_t length);
  int send(const std::vector<uint8_t>& message) { return send(message.data(), message.size()); }

  // After a change of the machine's device list: closes the input when its device is gone,
  // and the output when its device is gone or a probe message to it fails.
  void checkPorts();

  MidiBackend& backend() { return *backend_; }

 private:
  // What the MIDI thread reads on every message; shared with the backend's receiver.
  struct Gate {
    std::mutex mutex;
    std::shared_ptr<const Handler> handler;
    bool running = false;
  };
  static void dispatch(Gate& gate, const uint8_t* bytes, std::size_t length);
  int closeInputLocked();
  int resetOutputLocked();
  void closeOutputOps();
  void checkInput();
  void checkOutput();

  const std::unique_ptr<MidiBackend> backend_;
  const std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();

  mutable std::mutex inputMutex_;  // input operations of the UI thread
  bool inputOpen_ = false;

  // Output operations of the UI thread (open, reset and close, check). Held across the
  // backend's calls, which may wait for the MIDI service; never taken by send().
  std::mutex outputOpsMutex_;
  // The output flags. Held only for a moment, never across a backend call: send() takes it on
  // the MIDI service's thread (a Dump Request from the receive path), which must never wait
  // for the UI thread while the UI thread waits for the service.
  mutable std::mutex outputMutex_;
  bool outputHandle_ = false;
  bool outputOpen_ = false;
};

}  // namespace orv
