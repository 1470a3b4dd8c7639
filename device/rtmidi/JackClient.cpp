#include "device/rtmidi/JackClient.h"

#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

#include "device/rtmidi/ServiceMessages.h"

namespace orv::rtmidi {

namespace {
std::mutex registryMutex;             // guards `registered`
std::set<JackClient*> registered;     // every client of this process, once activated
std::atomic<bool> serverGone{false};  // a server went away since the last client was opened
}  // namespace

void JackClient::beforeOpen() {
  if (!serverGone.load()) return;
  std::lock_guard lock(registryMutex);
  for (JackClient* c : registered) {
    c->alive_.store(false);
    c->release();
  }
}

void JackClient::afterOpen() {
  serverGone.store(false);
}

JackClient::JackClient(const std::string& name, bool exactName, Sink sink,
                       const PortNames& portNames)
    : sink_(std::move(sink)) {
  int status = 0;
  const int options = JackNoStartServer | (exactName ? JackUseExactName : 0);
  client_ = openJackClient(name, options, &status);
  if (client_ == nullptr) {
    // JACK reports a taken name as a server error when an exact name is asked for.
    if (exactName && ((status & JackNameNotUnique) || jackClientExists(name)))
      throw std::runtime_error("a device named \"" + name + "\" is already on the JACK server");
    if (status & JackServerFailed) throw std::runtime_error("JACK: no server running");
    throw std::runtime_error("JACK refused a client named \"" + name + "\"");
  }
  name_ = jack_get_client_name(client_);
  ports_[In] =
      jack_port_register(client_, portNames.in.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  ports_[Out] = jack_port_register(client_, portNames.out.c_str(), JACK_DEFAULT_MIDI_TYPE,
                                   JackPortIsOutput, 0);
  if (ports_[In] == nullptr || ports_[Out] == nullptr) {
    release();
    throw std::runtime_error("JACK refused the MIDI ports of \"" + name + "\"");
  }
  if (!portNames.inAlias.empty()) jack_port_set_alias(ports_[In], portNames.inAlias.c_str());
  if (!portNames.outAlias.empty()) jack_port_set_alias(ports_[Out], portNames.outAlias.c_str());
  // No event can be longer than a port's buffer.
  received_.resize(jack_port_type_get_buffer_size(client_, JACK_DEFAULT_MIDI_TYPE));
  jack_set_process_callback(client_, &JackClient::process, this);
  jack_on_shutdown(client_, &JackClient::onShutdown, this);
  if (jack_activate(client_) != 0) {
    release();
    throw std::runtime_error("JACK refused to start \"" + name + "\"");
  }
  std::lock_guard lock(registryMutex);
  registered.insert(this);
}

JackClient::~JackClient() {
  {
    std::lock_guard lock(registryMutex);
    registered.erase(this);
  }
  release();
}

void JackClient::release() {
  // Closing a client whose server went away makes libjack complain; that is known already.
  std::optional<QuietServiceMessages> quiet;
  if (!alive()) quiet.emplace();
  std::lock_guard lock(clientMutex_);
  if (client_ != nullptr) {
    jack_deactivate(client_);
    jack_client_close(client_);
    client_ = nullptr;
  }
}

std::vector<std::string> JackClient::ports(Dir d) {
  std::vector<std::string> out;
  std::lock_guard lock(clientMutex_);
  if (!alive() || client_ == nullptr) return out;
  const unsigned long flags = d == In ? JackPortIsOutput : JackPortIsInput;
  const char** names = jack_get_ports(client_, nullptr, JACK_DEFAULT_MIDI_TYPE, flags);
  if (names == nullptr) return out;
  for (const char** n = names; *n != nullptr; ++n) out.emplace_back(*n);
  jack_free(names);
  return out;
}

bool JackClient::connect(Dir d, const std::string& full, int timeoutMs) {
  if (!alive()) return false;
  disconnect(d);
  dropped_[d].store(false);
  {
    std::lock_guard lock(clientMutex_);
    if (client_ == nullptr) return false;
    const std::string ours = jack_port_name(ports_[d]);
    const int rc = d == In ? jack_connect(client_, full.c_str(), ours.c_str())
                           : jack_connect(client_, ours.c_str(), full.c_str());
    if (rc != 0 && rc != EEXIST) return false;
  }
  // Wait for two cycles that started after the change and saw the connection.
  const uint64_t start = cycles_.load();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (cycles_.load() < start + 2 || liveConnections_[d].load() == 0) {
    if (!alive() || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  watching_[d].store(true);
  return true;
}

void JackClient::disconnect(Dir d) {
  watching_[d].store(false);
  std::lock_guard lock(clientMutex_);
  if (alive() && client_ != nullptr) jack_port_disconnect(client_, ports_[d]);
}

bool JackClient::connectedTo(Dir d, const std::string& full) {
  std::lock_guard lock(clientMutex_);
  return alive() && client_ != nullptr && jack_port_connected_to(ports_[d], full.c_str()) != 0;
}

std::vector<std::string> JackClient::aliases(const std::string& full) {
  std::vector<std::string> out;
  std::lock_guard lock(clientMutex_);
  if (!alive() || client_ == nullptr) return out;
  jack_port_t* port = jack_port_by_name(client_, full.c_str());
  if (port == nullptr) return out;
  const int size = jack_port_name_size();
  std::vector<char> a(size, '\0'), b(size, '\0');
  char* both[2] = {a.data(), b.data()};
  const int n = jack_port_get_aliases(port, both);
  for (int i = 0; i < n && i < 2; ++i) out.emplace_back(both[i]);
  return out;
}

bool JackClient::fits(std::size_t length) const {
  const std::size_t largest = largestEvent_.load();
  return largest == 0 || length <= largest;
}

bool JackClient::send(const uint8_t* bytes, std::size_t length) {
  if (length == 0 || !alive() || !fits(length)) return false;
  std::lock_guard lock(sendMutex_);
  return queue_.push(bytes, length);
}

int JackClient::process(jack_nframes_t frames, void* self) {
  auto* c = static_cast<JackClient*>(self);
  c->receiveAll(frames);
  c->flushQueue(frames);
  for (int d : {In, Out}) {
    const int n = jack_port_connected(c->ports_[d]);
    c->liveConnections_[d].store(n);
    if (n == 0 && c->watching_[d].load()) c->dropped_[d].store(true);
  }
  c->cycles_.fetch_add(1);
  return 0;
}

namespace {

// Copies an event out of JACK's port buffer. The buffer was filled by another client's process
// callback, and JACK orders the two through its own semaphores, which the thread sanitizer does
// not see: without this copy it would take every message received from a client of the same
// process (the tests' simulated devices) for a data race.
#if defined(__SANITIZE_THREAD__)
__attribute__((no_sanitize("thread")))
#endif
void copyEvent(const jack_midi_data_t* from, std::size_t n, uint8_t* to) {
  const volatile jack_midi_data_t* in = from;
  for (std::size_t i = 0; i < n; ++i) to[i] = in[i];
}

}  // namespace

void JackClient::receiveAll(jack_nframes_t frames) {
  void* buffer = jack_port_get_buffer(ports_[In], frames);
  const uint32_t count = jack_midi_get_event_count(buffer);
  for (uint32_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0) continue;
    if (event.size > received_.size()) continue;  // cannot happen: an event fits its buffer
    copyEvent(event.buffer, event.size, received_.data());
    sink_(received_.data(), event.size);
  }
}

void JackClient::flushQueue(jack_nframes_t frames) {
  void* buffer = jack_port_get_buffer(ports_[Out], frames);
  jack_midi_clear_buffer(buffer);
  largestEvent_.store(jack_midi_max_event_size(buffer));
  bool empty = true;
  while (const std::size_t n = queue_.peekLength()) {
    jack_midi_data_t* slot = jack_midi_event_reserve(buffer, 0, n);
    if (slot == nullptr && empty) {
      // It does not fit even into an empty buffer, so it never will: waiting would hold up
      // every message behind it for good.
      queue_.skip();
      oversized_.fetch_add(1);
      continue;
    }
    if (slot == nullptr) break;  // the port's buffer is full: the rest goes next cycle
    queue_.pop(slot);
    empty = false;
  }
}

void JackClient::onShutdown(void* self) {
  // Runs on libjack's thread, which beforeOpen() may be waiting for: no locks here.
  static_cast<JackClient*>(self)->alive_.store(false);
  serverGone.store(true);
}

}  // namespace orv::rtmidi
