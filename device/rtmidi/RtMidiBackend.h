#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/MidiBackend.h"

namespace orv {

namespace rtmidi {
class MidiService;
enum class Dir;
}  // namespace rtmidi

// MidiBackend on the computer's own MIDI service: the ALSA sequencer (through RtMidi) or JACK
// (through libjack: RtMidi's JACK output spins while its buffer is full and cannot tell whether
// a port is still connected, and the editor must never wait on a send).
//
// Choosing the service: with Api::Any the services are tried in turn, ALSA first, then JACK;
// the first one that opens is used. Api::Alsa or Api::Jack (the programs' `--midi-api alsa|jack`)
// forces one. While no service can be opened the lists are empty, opening fails with
// kErrorNoService, and a new attempt is made at most once a second. A service that goes away
// (the JACK server stopped) is dropped: the open ports count as lost and the next attempt may
// find a new server.
//
// Device naming. A device is listed under its product name:
//  - on ALSA, the sequencer client's name (a USB amplifier's client carries the product name,
//    e.g. "ORV10");
//  - on JACK, the client's name (the part of "client:port" before the first colon), except for
//    a port of a bridge to the machine's MIDI hardware, whose client is the bridge ("a2j",
//    "system", "Midi-Bridge") and which carries the product name in its port name or an alias;
//    such a port is listed under that product name (see bridgedName()).
// When one client (or product) offers several ports in one direction, the first is listed under
// its name alone and each later one as "name:port", so the later ones are told apart by their
// port names. The editor's own ports are never listed: its own client, clients named like it, and
// on JACK the "-NN" renamings JACK gives a second client of the same name, are left out. The names
// are reported as they are; the "-1" rule of the port layer is applied by MidiPort.
//
// Threads: every operation may be called from any thread. The receiver runs on the service's
// thread (JACK's process thread, RtMidi's ALSA input thread) and may call send(). Sends never
// wait for the device: the message is queued with the service and send() returns at once; a
// full queue is kErrorBusy. A device that has gone away makes sends fail with kErrorDeviceGone
// and openInputName()/openOutputName() return "" - on JACK from the next cycle on, on ALSA once
// the device lists were read (the hot-plug watcher reads them once a second). A lost port stays
// lost until it is opened again, even if a device of the same name comes back meanwhile.
class RtMidiBackend final : public MidiBackend {
 public:
  enum class Api { Any, Alsa, Jack };

  // Error numbers (0 = success).
  static constexpr int kErrorService = 1;      // the MIDI service refused the operation
  static constexpr int kErrorBadDevice = 2;    // no device with that number
  static constexpr int kErrorBusy = 3;         // the service's send queue is full
  static constexpr int kErrorDeviceGone = 5;   // the open port's device has gone away
  static constexpr int kErrorNoService = 6;    // no MIDI service could be opened
  static constexpr int kErrorTooLong = 7;      // longer than the service's port buffer takes
  static constexpr int kErrorBadMessage = 11;  // empty or malformed message handed to send()

  static constexpr const char* kDefaultClientName = "ORV Editor";

  // "alsa", "jack" or "any" (case-sensitive); nothing for anything else.
  static std::optional<Api> parseApi(std::string_view name);
  static const char* apiName(Api api);
  // Whether the service can be opened now (Api::Alsa or Api::Jack), without a word on the
  // terminal; when not, `why` says why. Opens and closes one client.
  static bool serviceAvailable(Api api, std::string& why);

  explicit RtMidiBackend(Api api = Api::Any, std::string clientName = kDefaultClientName);
  ~RtMidiBackend() override;
  RtMidiBackend(const RtMidiBackend&) = delete;
  RtMidiBackend& operator=(const RtMidiBackend&) = delete;

  // The service in use; Api::Any while none is open.
  Api api() const;
  // Why no service could be opened (empty while one is open).
  std::string serviceError() const;
  // Whether the service in use is still there: false while none is open and once it went away
  // (the JACK server stopped). Cheap, and opens nothing.
  bool serviceAlive() const;

  // MidiBackend.
  std::vector<std::string> inputDevices() override;
  std::vector<std::string> outputDevices() override;
  // Waits for a receiver call already running on the service's thread, so it must not be
  // called while holding a lock the receiver takes.
  int openInput(int device, Receiver receiver) override;
  void closeInput() override;
  std::string openInputName() override;
  int openOutput(int device) override;
  void closeOutput() override;
  std::string openOutputName() override;
  int send(const uint8_t* bytes, std::size_t length) override;

  // Every port the service offers in both directions, by its full service name (on ALSA with
  // client and port numbers, which change when a device is plugged in again). Cheap: it reuses
  // this backend's connection to the service. The hot-plug watcher compares two of these.
  std::vector<std::string> deviceSnapshot();

  // A factory for DeviceLink::setBackendFactory().
  static MidiBackendFactory factory(Api api, std::string clientName = kDefaultClientName);

  // --- Pure helpers, public for tests ---

  struct Listed {
    std::string name;  // the name the device is listed under
    std::string full;  // the service's full port name
    unsigned index;    // the service's port number
  };
  // Applies the naming rule to the service's port names (in the service's order). `ownClient`
  // is the name this backend asked for, `actualClient` the one the service gave it.
  // `aliases` (JACK) holds each port's aliases, in the order of `ports`, or is empty.
  static std::vector<Listed> listDevices(const std::vector<std::string>& ports, Api api,
                                         std::string_view ownClient,
                                         std::string_view actualClient = {},
                                         const std::vector<std::vector<std::string>>& aliases = {});
  // The product name a JACK bridge to the machine's MIDI hardware shows for one of its ports,
  // or "" for an ordinary port. Looked for, in this order:
  //  - the port name "NAME [N] (capture): ..." or "NAME [N] (playback): ..." (a2jmidid);
  //  - the port name "NAME:(capture_N) ..." or "NAME:(playback_N) ..." (PipeWire);
  //  - an alias "DRIVER:NAME/PORT", e.g. "alsa_pcm:ORV10/midi_capture_1" (jackd's ALSA MIDI).
  // `port` is the port's short name (after the client's name and its colon).
  static std::string bridgedName(std::string_view port, const std::vector<std::string>& aliases);
  // Client and port parts of a full port name ("client:port" on JACK,
  // "client:port client#:port#" on ALSA).
  static std::pair<std::string, std::string> splitPortName(std::string_view full, Api api);
  // The part of a received message worth handing on, or an empty span for junk. Kept: a System
  // Exclusive message F0 .. F7 of any length (the port layer hands long ones on in pieces) with
  // only 7-bit bytes inside, and
  // a complete short message (status byte and its data bytes). A System Exclusive message that
  // holds a second F0 is one that was cut off and glued to the next by the service; as on a MIDI
  // cable, the new start byte ends the broken message, so only the last F0 .. F7 is kept.
  static std::span<const uint8_t> usable(const uint8_t* bytes, std::size_t length);

 private:
  // The editor's port of one direction: what it is joined to, and whether that went away.
  struct Port {
    std::mutex mutex;  // guards open, full, generation and the service calls of this direction
    bool open = false;
    std::string full;
    uint64_t generation = 0;  // of the service connection the port was opened on
    std::atomic<bool> isOpen{false};
    std::atomic<bool> lost{false};
  };
  // The service in use, opening one when needed (at most one attempt a second).
  std::shared_ptr<rtmidi::MidiService> service(uint64_t* generation = nullptr);
  std::shared_ptr<rtmidi::MidiService> serviceLocked();
  std::shared_ptr<rtmidi::MidiService> current(uint64_t* generation = nullptr) const;
  bool tryOpen(Api api, std::string& why);
  std::vector<Listed> listLocked(Port& port, rtmidi::MidiService& svc, rtmidi::Dir d,
                                 uint64_t generation);
  std::string openNameLocked(Port& port, rtmidi::Dir d);
  std::vector<std::string> devices(Port& port, rtmidi::Dir d);
  int openPort(Port& port, rtmidi::Dir d, int device);
  void closePort(Port& port, rtmidi::Dir d);
  void deliver(const uint8_t* bytes, std::size_t length);

  const Api wanted_;
  const std::string clientName_;
  mutable std::mutex serviceMutex_;  // guards the fields down to lastAttempt_
  std::shared_ptr<rtmidi::MidiService> service_;
  uint64_t generation_ = 0;
  std::string actualClient_;
  std::atomic<Api> api_{Api::Any};
  std::string serviceError_;
  std::chrono::steady_clock::time_point lastAttempt_{};

  Port in_;
  Port out_;

  std::mutex receiverMutex_;  // guards receiver_; held while the receiver runs
  Receiver receiver_;
};

}  // namespace orv
