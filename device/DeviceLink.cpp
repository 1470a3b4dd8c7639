#include "device/DeviceLink.h"

#include <condition_variable>
#include <optional>
#include <type_traits>
#include <utility>

#include "device/MidiPort.h"
#include "device/ParameterMap.h"
#include "device/SysexCodec.h"
#include "device/VirtualMidiBackend.h"
#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv {

namespace {

constexpr auto kTickPeriod = std::chrono::milliseconds(50);
// The link drops when this many whole seconds have passed since the last Identity.
constexpr int64_t kIdentityTimeoutSeconds = 3;

// Whole seconds from `since` to `now`. The elapsed time is what is counted, not the difference
// of two truncated clock readings: that would drop a link after as little as 2 s of silence.
int64_t wholeSecondsBetween(DeviceLink::Clock::time_point since,
                            DeviceLink::Clock::time_point now) {
  return std::chrono::duration_cast<std::chrono::seconds>(now - since).count();
}

std::mutex gInstanceMutex;
DeviceLink* gInstance = nullptr;
std::mutex gFactoryMutex;
MidiBackendFactory gBackendFactory;

std::unique_ptr<MidiBackend> makeBackend() {
  MidiBackendFactory factory;
  {
    std::lock_guard lock(gFactoryMutex);
    factory = gBackendFactory;
  }
  if (factory) return factory();
  return std::make_unique<VirtualMidiBackend>(VirtualMidiService::shared());
}

bool establishesConnection(uint8_t model) {
  return model >= '0' && model <= '4';
}

void exceptionCaught() {
  sysex::reportDiagnostic("Exception caught!");
}

}  // namespace

struct DeviceLink::Impl {
  struct Event {
    int32_t code;
    int32_t value;
  };

  // Listeners. Held while they are called, so that after removeListener() returns the removed
  // callback is not running and will not run again; recursive so a listener may (un)register.
  std::recursive_mutex listenerMutex;
  std::vector<std::pair<Listener, void*>> listeners;

  // The event queue: filled by the MIDI thread, drained by the tick.
  std::mutex queueMutex;
  std::deque<Event> queue;

  // Mirror, edited flag and connection state, shared by the UI, MIDI and tick threads.
  // Recursive so withMirror() callbacks may use the other accessors and send.
  mutable std::recursive_mutex stateMutex;
  PatchData mirror;
  PatchData baseline;
  bool edited = false;
  bool unsent = false;
  bool connected = false;
  Clock::time_point lastSeen;  // the last accepted Identity, valid while connected
  char model = 0;
  std::function<Clock::time_point()> clock = [] { return Clock::now(); };

  std::unique_ptr<MidiPort> port;

  // The tick thread.
  std::mutex tickMutex;
  std::condition_variable tickWake;
  bool stopTick = false;
  std::thread tickThread;
};

// --- Instance ----------------------------------------------------------------------------

DeviceLink& DeviceLink::instance() {
  std::lock_guard lock(gInstanceMutex);
  if (gInstance == nullptr) gInstance = new DeviceLink();
  return *gInstance;
}

void DeviceLink::destroy() {
  DeviceLink* link;
  {
    std::lock_guard lock(gInstanceMutex);
    link = std::exchange(gInstance, nullptr);
  }
  delete link;
}

void DeviceLink::setBackendFactory(MidiBackendFactory factory) {
  std::lock_guard lock(gFactoryMutex);
  gBackendFactory = std::move(factory);
}

DeviceLink::DeviceLink() : impl_(std::make_unique<Impl>()) {
  initPatch(std::nullopt, impl_->mirror);
  impl_->port = std::make_unique<MidiPort>(makeBackend());
  impl_->tickThread = std::thread([this] { runTicks(); });
}

DeviceLink::~DeviceLink() {
  // Close the input while the port still exists: a message being received at this moment may
  // still send its Dump Request. No message arrives after this.
  impl_->port->closeInput();
  impl_->port.reset();
  stopTicks();
}

void DeviceLink::runTicks() {
  auto next = Clock::now() + kTickPeriod;
  std::unique_lock lock(impl_->tickMutex);
  while (!impl_->tickWake.wait_until(lock, next, [this] { return impl_->stopTick; })) {
    lock.unlock();
    tick();
    lock.lock();
    next += kTickPeriod;
    const auto now = Clock::now();
    if (next < now) next = now + kTickPeriod;  // after a stall, no burst of ticks
  }
}

void DeviceLink::stopTicks() {
  {
    std::lock_guard lock(impl_->tickMutex);
    impl_->stopTick = true;
  }
  impl_->tickWake.notify_all();
  if (impl_->tickThread.joinable() && impl_->tickThread.get_id() != std::this_thread::get_id())
    impl_->tickThread.join();
}

void DeviceLink::setClockForTesting(std::function<Clock::time_point()> now) {
  stopTicks();
  std::lock_guard lock(impl_->stateMutex);
  impl_->clock = std::move(now);
}

DeviceLink::Clock::time_point DeviceLink::now() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->clock();
}

// --- Listeners and events ----------------------------------------------------------------

void DeviceLink::addListener(Listener callback, void* context) {
  std::lock_guard lock(impl_->listenerMutex);
  impl_->listeners.emplace_back(callback, context);
}

void DeviceLink::removeListener(Listener callback) {
  std::lock_guard lock(impl_->listenerMutex);
  auto& ls = impl_->listeners;
  const auto it =
      std::find_if(ls.begin(), ls.end(), [callback](const auto& l) { return l.first == callback; });
  if (it != ls.end()) ls.erase(it);
}

void DeviceLink::postEvent(int32_t code, int32_t value) {
  std::lock_guard lock(impl_->queueMutex);
  impl_->queue.push_back({code, value});
}

void DeviceLink::notifyListeners(int32_t code, int32_t value) {
  std::lock_guard lock(impl_->listenerMutex);
  const auto listeners = impl_->listeners;  // a listener may change the list
  for (const auto& [callback, context] : listeners) callback(context, code, value, 0);
}

void DeviceLink::tick() {
  try {
    std::deque<Impl::Event> events;
    {
      std::lock_guard lock(impl_->queueMutex);
      events.swap(impl_->queue);
    }
    for (const auto& e : events) notifyListeners(e.code, e.value);

    int32_t report = 0;
    {
      std::lock_guard lock(impl_->stateMutex);
      if (!impl_->connected) {
        report = EVENT_NOT_CONNECTED;
      } else if (wholeSecondsBetween(impl_->lastSeen, impl_->clock()) >= kIdentityTimeoutSeconds) {
        impl_->connected = false;
        impl_->model = 0;
        report = EVENT_DISCONNECTED;
      }
    }
    if (report != 0) notifyListeners(report, 0);
  } catch (...) {
    exceptionCaught();
  }
}

// --- State -------------------------------------------------------------------------------

bool DeviceLink::isConnected() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->connected;
}

char DeviceLink::modelCode() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->model;
}

PatchData DeviceLink::mirror() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->mirror;
}

void DeviceLink::setMirror(const PatchData& data) {
  std::lock_guard lock(impl_->stateMutex);
  impl_->mirror = data;
  impl_->baseline = data;
}

bool DeviceLink::edited() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->edited;
}

void DeviceLink::setEdited(bool edited) {
  std::lock_guard lock(impl_->stateMutex);
  impl_->edited = edited;
  if (!edited) impl_->baseline = impl_->mirror;
}

PatchData DeviceLink::baseline() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->baseline;
}

void DeviceLink::restore(const PatchData& sound, const PatchData& baseline, bool edited) {
  std::lock_guard lock(impl_->stateMutex);
  if (!impl_->connected && impl_->mirror != sound) impl_->unsent = true;
  impl_->mirror = sound;
  impl_->baseline = baseline;
  impl_->edited = edited;
}

void DeviceLink::withMirror(const std::function<void(PatchData&)>& f) {
  std::lock_guard lock(impl_->stateMutex);
  const PatchData before = impl_->mirror;
  f(impl_->mirror);
  if (!impl_->connected && impl_->mirror != before) impl_->unsent = true;
}

PatchData DeviceLink::exchangeMirror(const PatchData& data) {
  std::lock_guard lock(impl_->stateMutex);
  if (impl_->mirror != data) impl_->unsent = true;
  return std::exchange(impl_->mirror, data);
}

bool DeviceLink::unsent() const {
  std::lock_guard lock(impl_->stateMutex);
  return impl_->unsent;
}

void DeviceLink::takeAmplifierPatch() {
  {
    std::lock_guard lock(impl_->stateMutex);
    if (!impl_->connected) return;
    impl_->unsent = false;
  }
  requestDump();
}

// --- Ports -------------------------------------------------------------------------------

MidiPort& DeviceLink::port() {
  return *impl_->port;
}

void DeviceLink::openPorts(int inputDevice, int outputDevice) {
  MidiPort& p = port();
  int result = p.openInput(inputDevice, [this](const uint8_t* b, std::size_t n) { receive(b, n); });
  if (result != 0) throw CGenericException(strings::UsbInputError, result);
  // The input starts only once the output is open: an Identity received meanwhile would
  // connect the link and send its Dump Request into a port that is not there yet.
  const int outputResult = p.openOutput(outputDevice);
  result = p.startInput();
  if (result != 0) throw CGenericException(strings::UsbInputError, result);
  if (outputResult != 0) throw CGenericException(strings::UsbOutputError, outputResult);
  if (!p.hasOutput()) throw CGenericException(strings::UsbOutputError, MidiPort::kNoInput);
  p.setOutputOpen(true);
}

void DeviceLink::checkPorts() {
  port().checkPorts();
  if (port().isInputOpen()) return;
  {
    std::lock_guard lock(impl_->stateMutex);
    impl_->connected = false;
    impl_->model = 0;
    // The mirror is kept: it is what the panel shows and may hold unsaved edits.
  }
  notifyListeners(EVENT_DISCONNECTED, 0);
}

// --- Sends -------------------------------------------------------------------------------

void DeviceLink::send(const std::vector<uint8_t>& message) {
  if (!isConnected()) return;
  // MidiPort hands each message to the backend whole, and the backend queues it whole, so sends
  // from the MIDI thread and the UI thread never interleave.
  const int result = port().send(message);
  if (result != 0) throw CGenericException(strings::UsbSendError, result);
}

void DeviceLink::requestDump() {
  send(sysex::encodeDumpRequest());
}

void DeviceLink::requestSettings() {
  send(sysex::encodeSettingsRequest());
}

void DeviceLink::sendSetting(uint8_t number, uint8_t value) {
  send(sysex::encodeSettingChange(number, value));
}

void DeviceLink::sendWholePatch() {
  PatchData data;
  {
    std::lock_guard lock(impl_->stateMutex);
    if (!impl_->connected) {
      impl_->unsent = true;
      return;
    }
    data = impl_->mirror;
  }
  try {
    send(sysex::encodeBulkDump(data));
  } catch (...) {
    std::lock_guard lock(impl_->stateMutex);
    impl_->unsent = true;
    throw;
  }
  std::lock_guard lock(impl_->stateMutex);
  // A change made meanwhile went out on its own, or is marked by withMirror().
  impl_->unsent = false;
}

// --- Receiving ---------------------------------------------------------------------------

void DeviceLink::receive(const uint8_t* bytes, std::size_t length) {
  try {
    std::visit(
        [this](const auto& m) {
          using T = std::decay_t<decltype(m)>;
          if constexpr (std::is_same_v<T, sysex::Identity>) onIdentity(m.model);
          if constexpr (std::is_same_v<T, sysex::BulkDump>) onBulkDump(m.data);
          if constexpr (std::is_same_v<T, sysex::ParameterChange>) onParameterChange(m);
          if constexpr (std::is_same_v<T, sysex::SettingReport>) onSetting(m.value);
        },
        sysex::classify(bytes, length));
  } catch (...) {
    exceptionCaught();
  }
}

void DeviceLink::onIdentity(uint8_t model) {
  bool askForPatch = false;
  {
    std::lock_guard lock(impl_->stateMutex);
    if (impl_->model != 0 && uint8_t(impl_->model) != model) {
      impl_->connected = false;
      impl_->model = 0;
      postEvent(EVENT_DISCONNECTED, 0);
    }
    if (establishesConnection(model)) {
      const bool justConnected = !impl_->connected;
      impl_->connected = true;
      impl_->lastSeen = impl_->clock();
      if (justConnected) {
        impl_->model = char(model);
        postEvent(EVENT_CONNECTED, model);
        // An unsent sound waits for the window's decision before the amplifier's may replace it.
        askForPatch = !impl_->unsent;
      }
    }
  }
  if (askForPatch) requestDump();
}

void DeviceLink::onBulkDump(const PatchData& data) {
  std::lock_guard lock(impl_->stateMutex);
  if (!impl_->connected || impl_->unsent || data == impl_->mirror) return;
  impl_->mirror = data;
  impl_->baseline = data;
  impl_->edited = true;
  postEvent(EVENT_DUMP_RECEIVED, 0);
}

void DeviceLink::onParameterChange(const sysex::ParameterChange& change) {
  std::lock_guard lock(impl_->stateMutex);
  if (!impl_->connected || impl_->unsent) return;
  auto& m = impl_->mirror;
  const int a = change.address;
  // Looked up with the type byte of this moment; throws 203 for an address naming nothing.
  const int id = params::identifierOf(a, m[params::blockOf(a)]);
  if (params::isTwoByte(id)) {
    if (m[a] == change.d1 && m[a + 1] == change.d2) return;
    m[a] = change.d1;
    m[a + 1] = change.d2;
  } else {
    if (m[a] == change.d2) return;
    m[a] = change.d2;
  }
  impl_->edited = true;
  postEvent(EVENT_PARAMETER_CHANGED, id);
}

void DeviceLink::onSetting(int value) {
  if (isConnected()) postEvent(EVENT_SETTING_REPORTED, value);
}

}  // namespace orv
