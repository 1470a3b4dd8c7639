#pragma once
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "patch/PatchData.h"
#include "sim/AmpTransport.h"

namespace orv {

// Our stand-in for an ORV amplifier. It appears as a MIDI device, announces itself with an
// Identity message every period of its own accord, answers a Dump Request with a Bulk Dump of
// its current patch and a Settings Request with one Setting message per device setting, and
// applies received Parameter Changes, Setting Changes and Bulk Dumps to its own state.
//
// For tests it can also turn one of its own knobs, switch its model, fall silent, vanish from
// the device list and come back, and it logs every message it received.
//
// Threads: received messages are handled on the transport's thread, Identities are sent from
// the simulator's own thread, the rest from the caller's. All state is guarded.
class AmpSimulator {
 public:
  using Bytes = std::vector<uint8_t>;

  struct Options {
    std::string name = "ORV10";
    char model = '1';  // '0'..'4'
    std::chrono::milliseconds identityPeriod{1000};
  };

  // Setting numbers and their values as they travel: 0 = ON, 1 = OFF; USB volume 0..4.
  static constexpr int kExtendedStereo = 0, kPowerLamp = 1, kUsbVolume = 2, kSettingCount = 3;

  // Throws std::invalid_argument for an empty name, a model outside '0'..'4' or a period <= 0.
  explicit AmpSimulator(std::unique_ptr<AmpTransport> transport);
  AmpSimulator(std::unique_ptr<AmpTransport> transport, Options options);
  ~AmpSimulator();
  AmpSimulator(const AmpSimulator&) = delete;
  AmpSimulator& operator=(const AmpSimulator&) = delete;

  // Appears as a device and starts announcing itself. Returns the transport's error number.
  int start();
  // Stops announcing and disappears.
  void stop();

  // Presence in the computer's device list.
  void vanish();
  int comeBack();
  bool present() const;

  // Identity: `silent` stops the periodic announcements.
  void setSilent(bool silent);
  bool silent() const;
  void setModel(char model);  // '0'..'4'; throws std::invalid_argument otherwise
  char model() const;
  const std::string& name() const { return options_.name; }
  // One Identity at once, with the current model or with any nonzero byte (as an unknown
  // amplifier would send).
  int sendIdentity();
  int sendIdentity(uint8_t model);

  // The amplifier's state.
  PatchData patch() const;
  void setPatch(const PatchData& patch);
  std::array<uint8_t, kSettingCount> settings() const;
  void setSetting(int number, uint8_t value);

  // Turns one of its own knobs: stores the value (14-bit for the two-byte parameters) and
  // sends a Parameter Change. Throws CGenericException 203 for an unknown identifier and
  // std::invalid_argument for a value that does not fit.
  int turnKnob(int parameterId, int value);
  // Sends any bytes as they are (malformed or foreign messages for tests).
  int sendRaw(const Bytes& message);

  // Every message received, in order.
  std::vector<Bytes> received() const;
  void clearReceived();
  // Waits until `done` holds for the log or the time is up; returns whether it held.
  bool waitForReceived(const std::function<bool(const std::vector<Bytes>&)>& done,
                       std::chrono::milliseconds timeout) const;

  // What a received message is, for tests.
  static bool isDumpRequest(const Bytes& m);
  static bool isSettingsRequest(const Bytes& m);
  static bool isParameterChange(const Bytes& m);
  static bool isSettingChange(const Bytes& m);
  static bool isBulkDump(const Bytes& m);

  // The patch the simulator starts with.
  static PatchData defaultPatch();

 private:
  void onMessage(const uint8_t* bytes, std::size_t length);
  void announce();
  void answerDumpRequest();
  void answerSettingsRequest();
  void applyParameterChange(const uint8_t* b);
  int identifierForAnyType(int address) const;
  void applySettingChange(const uint8_t* b);
  void applyBulkDump(const uint8_t* b);
  int send(const Bytes& message);

  const std::unique_ptr<AmpTransport> transport_;
  const Options options_;

  mutable std::mutex mutex_;  // state below
  PatchData patch_;
  std::array<uint8_t, kSettingCount> settings_{1, 0, 2};
  char model_;
  bool silent_ = false;

  mutable std::mutex logMutex_;
  mutable std::condition_variable logChanged_;
  std::vector<Bytes> log_;

  std::mutex threadMutex_;
  std::mutex announceMutex_;  // one Identity announcement at a time, against setSilent()
  std::condition_variable wake_;
  bool running_ = false;
  std::thread thread_;
};

}  // namespace orv
