#pragma once
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "device/MidiBackend.h"
#include "patch/PatchData.h"

namespace orv {

class MidiPort;
namespace sysex {
struct ParameterChange;
}

// Device events, queued by the link and delivered from its tick.
enum DeviceEvent : int32_t {
  EVENT_CONNECTED = 1,  // value: model code
  EVENT_DISCONNECTED = 2,
  EVENT_NOT_CONNECTED = 3,  // every tick while not connected
  EVENT_DUMP_RECEIVED = 4,
  EVENT_PARAMETER_CHANGED = 5,  // value: parameter identifier
  EVENT_SETTING_REPORTED = 6,   // value: setting number * 256 + value
};

// The process-wide link to the amplifier: state mirror, `edited` flag, connection state, event
// queue and listeners, and the 50 ms tick thread that delivers the events.
//
// Threads: the UI thread (mirror writes, sends, ports), the MIDI service's thread (receive
// handler) and the tick thread. Every piece of shared state is guarded; see the .cpp.
class DeviceLink {
 public:
  using Listener = void (*)(void* context, int32_t code, int32_t value, int32_t reserved);
  using Clock = std::chrono::steady_clock;

  // The process-wide instance, created on first use with a MidiPort over the backend made by
  // the factory given to setBackendFactory() (the in-process virtual service by default).
  static DeviceLink& instance();
  static void destroy();
  static void setBackendFactory(MidiBackendFactory factory);

  // Listeners are called on the tick thread (and, for event 2 from checkPorts(), on the calling
  // thread). They must not block; they should only hand the event on to their own thread.
  // After removeListener() returns, the removed callback is not running and will not run.
  void addListener(Listener callback, void* context);
  void removeListener(Listener callback);
  void postEvent(int32_t code, int32_t value);
  void notifyListeners(int32_t code, int32_t value);

  bool isConnected() const;
  char modelCode() const;  // 0 when not connected

  // Mirror and edited flag. Compound read-check-write sequences go through withMirror(), which
  // holds the mirror lock for the whole call (so the MIDI thread never sees half a write).
  PatchData mirror() const;
  void setMirror(const PatchData& data);
  bool edited() const;
  void setEdited(bool edited);
  // The sound as it was last loaded (from the amplifier, a slot or a file) or stored: set by
  // setMirror(), by a dump that replaces the mirror, and whenever the edited flag is cleared.
  PatchData baseline() const;
  // Undo and redo: the mirror, its baseline and the edited flag as they were at some moment, set
  // in one step. A change made here while nothing is connected marks the mirror unsent.
  void restore(const PatchData& sound, const PatchData& baseline, bool edited);
  // A change made here while nothing is connected marks the mirror unsent (below).
  void withMirror(const std::function<void(PatchData&)>& f);
  // The mirror takes `data` and the sound it held is returned, to be taken back later (a sound
  // put aside while the amplifier plays another one). The baseline and the edited flag stay as
  // they are. A mirror that changes is marked unsent, whether connected or not: the amplifier
  // has the sound given to it last, not this one, until sendWholePatch() gives it.
  PatchData exchangeMirror(const PatchData& data);

  // The mirror holds a sound no amplifier has: it was changed while nothing was connected, or a
  // whole-patch send did not reach the amplifier. While it does, an amplifier that connects is
  // not asked for its patch and its dumps and parameter changes leave the mirror alone, so the
  // sound is not lost before the window has decided: sendWholePatch() gives the amplifier the
  // editor's sound, takeAmplifierPatch() asks for the amplifier's.
  bool unsent() const;
  void takeAmplifierPatch();

  // Ports. Not to be called from inside withMirror(): closing an input waits for a message being
  // received, and receiving needs the mirror.
  MidiPort& port();
  void openPorts(int inputDevice, int outputDevice);  // throws CGenericException 200 / 201
  // After a change of the machine's device list. When the input is gone: disconnected, and
  // event 2 goes to the listeners at once on the calling thread.
  void checkPorts();

  // Sends, only while connected; a failed send throws CGenericException 202. Sends from any
  // thread are serialised, so two messages never interleave on the output.
  void send(const std::vector<uint8_t>& message);
  void requestDump();
  void requestSettings();
  void sendSetting(uint8_t number, uint8_t value);
  // The Bulk Dump of the mirror. While not connected nothing is sent and the mirror is marked
  // unsent; a send that fails marks it as well. A send that went out clears the mark.
  void sendWholePatch();

  // The MIDI receive entry point (public for tests and the port layer).
  void receive(const uint8_t* bytes, std::size_t length);

  // One tick of the timer: delivers the queued events, then event 3 while not connected, or
  // drops the link 3 whole seconds (steady clock) after the last Identity.
  // Public so tests can drive time by hand; see setClockForTesting.
  void tick();
  // Tests: replace the steady clock and stop the tick thread so ticks are driven by hand.
  void setClockForTesting(std::function<Clock::time_point()> now);
  // The link's clock: the steady clock, or the one a test gave it.
  Clock::time_point now() const;

  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

 private:
  DeviceLink();
  ~DeviceLink();
  void runTicks();
  void stopTicks();
  void onIdentity(uint8_t model);
  void onBulkDump(const PatchData& data);
  void onParameterChange(const sysex::ParameterChange& change);
  void onSetting(int value);
  // Implementation details are the .cpp's.
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orv
