#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "device/rtmidi/RtMidiBackend.h"
#include "device/rtmidi/VirtualDevice.h"
#include "sim/AmpSimulator.h"

namespace orv {

class ServiceAmpTransport;

// orv-ampsim: the amplifier simulator as a device on the computer's own MIDI service. It prints
// every message it receives, one line each, and obeys simple commands read line by line.
class AmpSimProgram {
 public:
  struct Options {
    std::string name = "ORV10";
    char model = '1';
    RtMidiBackend::Api api = RtMidiBackend::Api::Any;
    int periodMs = 1000;
    // On JACK: shown the way a bridge to the machine's MIDI hardware shows a USB device.
    VirtualDevice::Bridge bridge = VirtualDevice::Bridge::None;
  };

  // Reads the command line; nothing (and a message in `error`) when it is wrong. `help` is set
  // for --help, and `version` (when given; else `help`) for --version.
  static std::optional<Options> parseArguments(const std::vector<std::string>& args,
                                               std::string& error, bool& help,
                                               bool* version = nullptr);
  static std::string versionLine();
  // The options and the commands read on standard input, as --help prints them.
  static std::string usage();

  // One line describing a received message: its bytes in hex and what it is.
  static std::string describe(const uint8_t* bytes, std::size_t length);

  explicit AmpSimProgram(Options options, std::ostream& out);
  ~AmpSimProgram();

  // Appears on the service; false (and the reason in `error`) when that fails.
  bool start(std::string& error);
  // Carries out one command line; false for "quit".
  bool command(const std::string& line);

  // How often the device checks that its MIDI service is still there.
  static constexpr std::chrono::milliseconds kServiceCheckPeriod{500};

 private:
  void print(std::string line);
  void printLoop();
  std::string readyLine() const;
  // Once the service went away (the JACK server stopped), waits for it and appears there again,
  // as an amplifier shows up again when the computer's MIDI service is back.
  void keepOnService();
  void keepLoop();
  // vanish and back, against keepOnService.
  void setPresent(bool present);

  Options options_;
  std::ostream& out_;
  ServiceAmpTransport* transport_ = nullptr;  // owned by the simulator
  std::unique_ptr<AmpSimulator> sim_;

  // Lines are printed on a thread of their own: the receiver runs on the service's thread and
  // must not wait for a slow reader of standard output.
  std::mutex linesMutex_;
  std::condition_variable linesChanged_;
  std::deque<std::string> lines_;
  bool stopPrinting_ = false;
  std::thread printer_;

  std::mutex presenceMutex_;  // guards the fields below and every vanish / come back
  std::condition_variable keeperWake_;
  bool stopKeeping_ = false;
  bool waitingForService_ = false;
  std::thread keeper_;
};

}  // namespace orv
