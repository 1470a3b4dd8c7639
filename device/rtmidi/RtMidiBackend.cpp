#include "device/rtmidi/RtMidiBackend.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <cstdio>
#include <map>
#include <stdexcept>
#include <thread>
#include <utility>

#include "device/rtmidi/AlsaService.h"
#include "device/rtmidi/JackService.h"
#include "device/rtmidi/ServiceMessages.h"

namespace orv {

using rtmidi::Dir;
using rtmidi::MidiService;

namespace rtmidi {

namespace {
std::atomic<int> quietDepth{0};
std::once_flag jackHandlers;

void jackMessage(const char* text) {
  if (quietDepth.load() == 0) std::fprintf(stderr, "%s\n", text);
}
}  // namespace

QuietServiceMessages::QuietServiceMessages() {
  std::call_once(jackHandlers, [] {
    jack_set_error_function(jackMessage);
    jack_set_info_function(jackMessage);
  });
  ++quietDepth;
}

QuietServiceMessages::~QuietServiceMessages() {
  --quietDepth;
}

jack_client_t* openJackClient(const std::string& name, int options, int* status) {
  QuietServiceMessages quiet;
  jack_status_t s{};
  jack_client_t* client = nullptr;
  for (int attempt = 0; attempt < 5; ++attempt) {
    client = jack_client_open(name.c_str(), jack_options_t(options), &s);
    if (client != nullptr || (s & JackServerFailed) || !(s & JackServerError)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (status != nullptr) *status = int(s);
  return client;
}

bool jackClientExists(const std::string& name) {
  jack_client_t* client = openJackClient("ORV probe", JackNoStartServer, nullptr);
  if (client == nullptr) return false;
  char* uuid = jack_get_uuid_for_client_name(client, name.c_str());
  const bool exists = uuid != nullptr;
  if (uuid != nullptr) jack_free(uuid);
  jack_client_close(client);
  return exists;
}

}  // namespace rtmidi

namespace {

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

bool probeAlsa(std::string& why) {
  rtmidi::QuietServiceMessages quiet;
  snd_lib_error_set_handler(quietAlsa);
  snd_seq_t* seq = nullptr;
  const int rc = snd_seq_open(&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
  if (rc >= 0) snd_seq_close(seq);
  snd_lib_error_set_handler(nullptr);
  if (rc < 0) why = std::string("ALSA: cannot open the sequencer (") + snd_strerror(rc) + ")";
  return rc >= 0;
}

bool probeJack(std::string& why) {
  int status = 0;
  jack_client_t* client = rtmidi::openJackClient("ORV probe", JackNoStartServer, &status);
  if (client == nullptr) {
    char code[16];
    std::snprintf(code, sizeof code, "%#x", unsigned(status));
    why = (status & JackServerFailed)
              ? std::string("JACK: no server running")
              : std::string("JACK: the server refused a client (status ") + code + ")";
    return false;
  }
  jack_client_close(client);
  return true;
}

bool isDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A client of ours: the name asked for or given, or on JACK the name asked for with the "-NN"
// JACK appends when a client of that name exists already.
bool ownClient(std::string_view client, std::string_view own, std::string_view actual,
               RtMidiBackend::Api api) {
  if (client == own || (!actual.empty() && client == actual)) return true;
  if (api != RtMidiBackend::Api::Jack || client.size() <= own.size() + 1) return false;
  return client.substr(0, own.size()) == own && client[own.size()] == '-' &&
         isDigits(client.substr(own.size() + 1));
}

// Data bytes that follow a status byte in a short message; -1 for bytes that start none.
int dataBytesAfter(uint8_t status) {
  if (status < 0x80) return -1;
  if (status < 0xC0) return 2;  // note off/on, poly pressure, control change
  if (status < 0xE0) return 1;  // program change, channel pressure
  if (status < 0xF0) return 2;  // pitch bend
  switch (status) {
    case 0xF1:
    case 0xF3:
      return 1;
    case 0xF2:
      return 2;
    case 0xF6:
    case 0xF8:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFE:
    case 0xFF:
      return 0;
    default:
      return -1;  // F0 is handled apart; F4, F5, F7, F9, FD start nothing
  }
}

}  // namespace

std::optional<RtMidiBackend::Api> RtMidiBackend::parseApi(std::string_view name) {
  if (name == "alsa") return Api::Alsa;
  if (name == "jack") return Api::Jack;
  if (name == "any") return Api::Any;
  return std::nullopt;
}

const char* RtMidiBackend::apiName(Api api) {
  switch (api) {
    case Api::Alsa:
      return "alsa";
    case Api::Jack:
      return "jack";
    default:
      return "any";
  }
}

bool RtMidiBackend::serviceAvailable(Api api, std::string& why) {
  return api == Api::Alsa ? probeAlsa(why) : probeJack(why);
}

RtMidiBackend::RtMidiBackend(Api api, std::string clientName)
    : wanted_(api), clientName_(std::move(clientName)) {
  service();
}

RtMidiBackend::~RtMidiBackend() {
  closeInput();
  closeOutput();
  std::shared_ptr<MidiService> last;
  {
    std::lock_guard lock(serviceMutex_);
    last = std::move(service_);
  }
  // The service closes its clients when the last reference goes, here.
}

RtMidiBackend::Api RtMidiBackend::api() const {
  return api_.load();
}

std::string RtMidiBackend::serviceError() const {
  std::lock_guard lock(serviceMutex_);
  return serviceError_;
}

bool RtMidiBackend::serviceAlive() const {
  const auto svc = current();
  return svc && svc->alive();
}

std::shared_ptr<MidiService> RtMidiBackend::current(uint64_t* generation) const {
  std::lock_guard lock(serviceMutex_);
  if (generation != nullptr) *generation = generation_;
  return service_;
}

std::shared_ptr<MidiService> RtMidiBackend::service(uint64_t* generation) {
  std::lock_guard lock(serviceMutex_);
  auto result = serviceLocked();
  if (generation != nullptr) *generation = generation_;
  return result;
}

std::shared_ptr<MidiService> RtMidiBackend::serviceLocked() {
  if (service_ && service_->alive()) return service_;
  if (service_) {
    // The service went away: its ports count as lost (their generation no longer matches).
    service_.reset();
    api_.store(Api::Any);
    serviceError_ = "the MIDI service stopped";
  }
  const auto now = std::chrono::steady_clock::now();
  if (lastAttempt_ != std::chrono::steady_clock::time_point{} &&
      now - lastAttempt_ < std::chrono::seconds(1))
    return nullptr;
  lastAttempt_ = now;
  std::string why, whyAll;
  const std::vector<Api> order =
      wanted_ == Api::Any ? std::vector<Api>{Api::Alsa, Api::Jack} : std::vector<Api>{wanted_};
  for (Api candidate : order) {
    if (tryOpen(candidate, why)) {
      serviceError_.clear();
      api_.store(candidate);
      return service_;
    }
    whyAll += (whyAll.empty() ? "" : "; ") + why;
  }
  serviceError_ = "no MIDI service: " + whyAll;
  return nullptr;
}

bool RtMidiBackend::tryOpen(Api api, std::string& why) {
  // ALSA is probed first so that RtMidi's own complaints stay off the terminal. JACK is not:
  // its client is opened quietly anyway, and a short-lived probe client right before the real
  // one can upset libjack.
  if (api == Api::Alsa && !probeAlsa(why)) return false;
  auto sink = [this](const uint8_t* b, std::size_t n) { deliver(b, n); };
  try {
    if (api == Api::Alsa)
      service_ = std::make_shared<rtmidi::AlsaService>(clientName_, sink);
    else
      service_ = std::make_shared<rtmidi::JackService>(clientName_, sink);
  } catch (const std::exception& e) {
    why = e.what();
    if (why.rfind("JACK", 0) != 0 && api == Api::Jack) why = "JACK: " + why;
    return false;
  }
  ++generation_;
  actualClient_ = service_->clientName();
  return true;
}

std::vector<RtMidiBackend::Listed> RtMidiBackend::listLocked(Port& port, MidiService& svc, Dir d,
                                                             uint64_t generation) {
  std::string actual;
  {
    std::lock_guard lock(serviceMutex_);
    actual = actualClient_;
  }
  const Api api = api_.load();
  const auto ports = svc.ports(d);
  std::vector<std::vector<std::string>> aliases;
  if (api == Api::Jack)
    for (const auto& p : ports) aliases.push_back(svc.aliases(d, p));
  auto listed = listDevices(ports, api, clientName_, actual, aliases);
  if (port.open && !port.lost.load()) {
    bool present = false;
    for (const auto& l : listed) present = present || l.full == port.full;
    if (!present || generation != port.generation || !svc.stillConnected(d)) port.lost.store(true);
  }
  return listed;
}

std::string RtMidiBackend::openNameLocked(Port& port, Dir d) {
  if (!port.open) return {};
  uint64_t generation = 0;
  auto svc = current(&generation);
  if (!svc || !svc->alive()) {
    port.lost.store(true);
    return {};
  }
  const auto now = listLocked(port, *svc, d, generation);
  if (port.lost.load()) return {};
  for (const auto& l : now)
    if (l.full == port.full) return l.name;
  return {};
}

std::vector<std::string> RtMidiBackend::devices(Port& port, Dir d) {
  uint64_t generation = 0;
  auto svc = service(&generation);
  if (!svc) return {};
  std::lock_guard lock(port.mutex);
  std::vector<std::string> names;
  for (auto& l : listLocked(port, *svc, d, generation)) names.push_back(l.name);
  return names;
}

std::vector<std::string> RtMidiBackend::inputDevices() {
  return devices(in_, Dir::In);
}

std::vector<std::string> RtMidiBackend::outputDevices() {
  return devices(out_, Dir::Out);
}

std::vector<std::string> RtMidiBackend::deviceSnapshot() {
  uint64_t generation = 0;
  auto svc = service(&generation);
  if (!svc) return {};
  std::vector<std::string> all;
  for (Dir d : {Dir::In, Dir::Out}) {
    Port& port = d == Dir::In ? in_ : out_;
    std::lock_guard lock(port.mutex);
    for (auto& l : listLocked(port, *svc, d, generation))
      all.push_back((d == Dir::In ? "in " : "out ") + l.full);
  }
  return all;
}

int RtMidiBackend::openPort(Port& port, Dir d, int device) {
  uint64_t generation = 0;
  auto svc = service(&generation);
  if (!svc) return kErrorNoService;
  std::lock_guard lock(port.mutex);
  const auto now = listLocked(port, *svc, d, generation);
  if (device < 0 || std::size_t(device) >= now.size()) return kErrorBadDevice;
  const int rc = svc->connect(d, now[device].index, now[device].full);
  if (rc != 0) return rc;
  port.open = true;
  port.full = now[device].full;
  port.generation = generation;
  port.lost.store(false);
  port.isOpen.store(true);
  return 0;
}

void RtMidiBackend::closePort(Port& port, Dir d) {
  std::lock_guard lock(port.mutex);
  if (!port.open) return;
  port.isOpen.store(false);
  uint64_t generation = 0;
  auto svc = current(&generation);
  if (svc && generation == port.generation) svc->disconnect(d);
  port.open = false;
  port.full.clear();
  port.lost.store(false);
}

int RtMidiBackend::openInput(int device, Receiver receiver) {
  closeInput();
  {
    std::lock_guard lock(receiverMutex_);
    receiver_ = std::move(receiver);
  }
  const int rc = openPort(in_, Dir::In, device);
  if (rc != 0) {
    std::lock_guard lock(receiverMutex_);
    receiver_ = nullptr;
  }
  return rc;
}

void RtMidiBackend::closeInput() {
  {
    // Waits for a receiver call in progress; afterwards the receiver is never called again.
    std::lock_guard lock(receiverMutex_);
    receiver_ = nullptr;
  }
  closePort(in_, Dir::In);
}

std::string RtMidiBackend::openInputName() {
  std::lock_guard lock(in_.mutex);
  return openNameLocked(in_, Dir::In);
}

int RtMidiBackend::openOutput(int device) {
  closeOutput();
  return openPort(out_, Dir::Out, device);
}

void RtMidiBackend::closeOutput() {
  closePort(out_, Dir::Out);
}

std::string RtMidiBackend::openOutputName() {
  std::lock_guard lock(out_.mutex);
  return openNameLocked(out_, Dir::Out);
}

// Takes no lock the receiver could be holding, so the receiver may send.
int RtMidiBackend::send(const uint8_t* bytes, std::size_t length) {
  if (!out_.isOpen.load()) return 0;
  if (bytes == nullptr || length == 0 || bytes[0] < 0x80) return kErrorBadMessage;
  if (out_.lost.load()) return kErrorDeviceGone;
  auto svc = current();
  if (!svc || !svc->alive() || !svc->stillConnected(Dir::Out)) {
    out_.lost.store(true);
    return kErrorDeviceGone;
  }
  return svc->send(bytes, length);
}

void RtMidiBackend::deliver(const uint8_t* bytes, std::size_t length) {
  const auto kept = usable(bytes, length);
  if (kept.empty()) return;
  if (kept.size() == 1 && (kept[0] == 0xF8 || kept[0] == 0xFE)) return;  // clock, sensing
  std::lock_guard lock(receiverMutex_);
  if (!receiver_) return;
  try {
    receiver_(kept.data(), kept.size());
  } catch (...) {
    std::fputs("Exception caught!\n", stderr);
  }
}

MidiBackendFactory RtMidiBackend::factory(Api api, std::string clientName) {
  return [api, clientName]() -> std::unique_ptr<MidiBackend> {
    return std::make_unique<RtMidiBackend>(api, clientName);
  };
}

std::pair<std::string, std::string> RtMidiBackend::splitPortName(std::string_view full, Api api) {
  if (api == Api::Alsa) {
    // Drop the trailing " client#:port#".
    const auto space = full.rfind(' ');
    if (space != std::string_view::npos) {
      const auto numbers = full.substr(space + 1);
      const auto colon = numbers.find(':');
      if (colon != std::string_view::npos && isDigits(numbers.substr(0, colon)) &&
          isDigits(numbers.substr(colon + 1)))
        full = full.substr(0, space);
    }
  }
  const auto colon = full.find(':');
  if (colon == std::string_view::npos) return {std::string(full), std::string()};
  return {std::string(full.substr(0, colon)), std::string(full.substr(colon + 1))};
}

std::vector<RtMidiBackend::Listed> RtMidiBackend::listDevices(
    const std::vector<std::string>& ports, Api api, std::string_view own, std::string_view actual,
    const std::vector<std::vector<std::string>>& aliases) {
  static const std::vector<std::string> kNoAliases;
  std::vector<Listed> listed;
  std::map<std::string, int> portsOfClient;
  for (unsigned i = 0; i < ports.size(); ++i) {
    if (ports[i].empty()) continue;  // vanished between counting and naming
    auto [client, port] = splitPortName(ports[i], api);
    if (ownClient(client, own, actual, api)) continue;
    if (api == Api::Jack) {
      std::string product = bridgedName(port, i < aliases.size() ? aliases[i] : kNoAliases);
      if (!product.empty()) client = std::move(product);
    }
    std::string name = portsOfClient[client]++ == 0 ? client : client + ":" + port;
    listed.push_back({std::move(name), ports[i], i});
  }
  return listed;
}

namespace {

// "NAME [N] (capture..." or "NAME [N] (playback...": NAME.
std::string a2jName(std::string_view port) {
  const auto open = port.find(" [");
  if (open == std::string_view::npos || open == 0) return {};
  const auto close = port.find("] (", open);
  if (close == std::string_view::npos || !isDigits(port.substr(open + 2, close - open - 2)))
    return {};
  const auto rest = port.substr(close + 3);
  if (rest.rfind("capture", 0) != 0 && rest.rfind("playback", 0) != 0) return {};
  return std::string(port.substr(0, open));
}

// "NAME:(capture_N) ..." or "NAME:(playback_N) ...": NAME.
std::string pipeWireName(std::string_view port) {
  const auto colon = port.find(":(");
  if (colon == std::string_view::npos || colon == 0) return {};
  const auto rest = port.substr(colon + 2);
  if (rest.rfind("capture_", 0) != 0 && rest.rfind("playback_", 0) != 0) return {};
  return std::string(port.substr(0, colon));
}

// "DRIVER:NAME/PORT": NAME.
std::string aliasName(std::string_view alias) {
  const auto colon = alias.find(':');
  if (colon == std::string_view::npos || colon == 0) return {};
  const auto rest = alias.substr(colon + 1);
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == rest.size()) return {};
  return std::string(rest.substr(0, slash));
}

}  // namespace

std::string RtMidiBackend::bridgedName(std::string_view port,
                                       const std::vector<std::string>& aliases) {
  if (auto name = a2jName(port); !name.empty()) return name;
  if (auto name = pipeWireName(port); !name.empty()) return name;
  for (const auto& alias : aliases)
    if (auto name = aliasName(alias); !name.empty()) return name;
  return {};
}

std::span<const uint8_t> RtMidiBackend::usable(const uint8_t* bytes, std::size_t length) {
  if (bytes == nullptr || length == 0) return {};
  if (bytes[0] == 0xF0) {
    std::size_t start = length - 1;
    while (bytes[start] != 0xF0) --start;  // the last start byte
    const std::size_t n = length - start;
    if (n < 2 || bytes[length - 1] != 0xF7) return {};
    for (std::size_t i = start + 1; i + 1 < length; ++i)
      if (bytes[i] & 0x80) return {};
    return {bytes + start, n};
  }
  const int data = dataBytesAfter(bytes[0]);
  if (data < 0 || length != std::size_t(data) + 1) return {};
  for (std::size_t i = 1; i < length; ++i)
    if (bytes[i] & 0x80) return {};
  return {bytes, length};
}

}  // namespace orv
