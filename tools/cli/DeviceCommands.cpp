// Device commands: list the MIDI devices, fetch the amplifier's patch, send it one, watch what
// it sends. They talk to the amplifier over the computer's MIDI service (ALSA or JACK) with the
// editor's own port layer and message codec.
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <variant>

#include "device/MidiPort.h"
#include "device/SysexCodec.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"
#include "patch/MessageReporter.h"
#include "patch/StringTable.h"
#include "tools/cli/Cli.h"
#include "tools/cli/CliSupport.h"

namespace orv::cli {

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

// How long an amplifier has to show up and to answer.
constexpr auto kAnswerTime = std::chrono::seconds(5);
// The ports tried when none is named.
const std::vector<std::string> kDefaultPorts = {"ORV10", "ORV5"};

struct DeviceOptions {
  RtMidiBackend::Api api = RtMidiBackend::Api::Any;
  std::optional<std::string> port;
  std::optional<double> seconds;  // monitor: stop after this long
  bool force = false;             // pull: an existing file may be replaced
  std::string file;               // pull, push: the patch file
};

void addPortOption(CLI::App& app, DeviceOptions& o) {
  app.add_option_function<std::string>(
         "--port",
         [&o](const std::string& v) {
           if (v.empty()) throw UsageError("--port needs a device name");
           o.port = v;
         },
         "the MIDI device to use (default ORV10, then ORV5)")
      ->type_name("NAME");
}

void addApiOption(CLI::App& app, DeviceOptions& o) {
  app.add_option_function<std::string>(
         "--midi-api",
         [&o](const std::string& v) {
           const auto api = RtMidiBackend::parseApi(v);
           if (!api) throw UsageError("--midi-api takes alsa, jack or any, not '" + v + "'");
           o.api = *api;
         },
         "the MIDI service: ALSA, JACK or the first one running (default any)")
      ->type_name("alsa|jack|any");
}

void addSecondsOption(CLI::App& app, DeviceOptions& o) {
  app.add_option_function<std::string>(
         "--seconds",
         [&o](const std::string& v) { o.seconds = double(parseNumber(v, 1, 86400, "SECONDS")); },
         "stop after this many seconds (1 to 86400; default: at Ctrl-C)")
      ->type_name("S");
}

// Ctrl-C and SIGTERM end the monitor in good order (ports closed, JACK client gone).
std::atomic<bool> interrupted{false};
void onInterrupt(int) {
  interrupted = true;
}

// One connection to the amplifier: the editor's port layer on the RtMidi backend, with received
// messages queued for the command's own thread.
class AmpConnection {
 public:
  explicit AmpConnection(RtMidiBackend::Api api) {
    auto backend = std::make_unique<RtMidiBackend>(api);
    backend_ = backend.get();
    if (backend->api() == RtMidiBackend::Api::Any) throw CliError(backend->serviceError());
    port_ = std::make_unique<MidiPort>(std::move(backend));
  }
  ~AmpConnection() {
    port_->closeInput();  // no message arrives after this
  }

  MidiPort& port() { return *port_; }
  const char* apiName() const { return RtMidiBackend::apiName(backend_->api()); }
  const std::string& portName() const { return name_; }

  // Opens the named ports (or the first default one present in both directions) as soon as
  // they are listed. Throws CliError when none shows up in time.
  void open(const std::optional<std::string>& wanted, Clock::time_point deadline) {
    const auto names = wanted ? std::vector<std::string>{*wanted} : kDefaultPorts;
    for (;;) {
      for (const auto& n : names) {
        const int in = port_->findInput(n), out = port_->findOutput(n);
        if (in < 0 || out < 0) continue;
        if (int rc = port_->openInput(in, [this](const uint8_t* b, std::size_t k) { queue(b, k); });
            rc != 0 || (rc = port_->startInput()) != 0)
          throw CliError("cannot open the MIDI input \"" + n + "\" (error " + std::to_string(rc) +
                         ")");
        if (const int rc = port_->openOutput(out); rc != 0)
          throw CliError("cannot open the MIDI output \"" + n + "\" (error " + std::to_string(rc) +
                         ")");
        port_->setOutputOpen(true);
        name_ = n;
        return;
      }
      if (Clock::now() >= deadline) throw CliError(noDevice(names));
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  // The next received message, or nothing when the deadline passed or the run was interrupted.
  // Throws CliError when the device or the whole MIDI service went away meanwhile.
  std::optional<Bytes> next(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    while (messages_.empty()) {
      if (interrupted || Clock::now() >= deadline) return std::nullopt;
      arrived_.wait_until(lock, std::min(deadline, Clock::now() + std::chrono::milliseconds(100)));
      if (messages_.empty()) {
        lock.unlock();  // the backend waits for the receiver, which takes this lock
        failIfGone();
        lock.lock();
      }
    }
    Bytes m = std::move(messages_.front());
    messages_.pop_front();
    return m;
  }

  // Waits for the amplifier's Identity; returns its model code ('0'..'4').
  char waitForIdentity(Clock::time_point deadline) {
    while (auto m = next(deadline)) {
      const auto message = classifyQuietly(*m);
      if (const auto* id = std::get_if<sysex::Identity>(&message))
        if (id->model >= '0' && id->model <= '4') return char(id->model);
    }
    throw CliError("no amplifier answered on \"" + name_ + "\" within 5 s");
  }

  // Asks for the amplifier's patch and waits for it.
  PatchData fetchPatch(Clock::time_point deadline) {
    send(sysex::encodeDumpRequest());
    while (auto m = next(deadline)) {
      const auto message = classifyQuietly(*m);
      if (const auto* dump = std::get_if<sysex::BulkDump>(&message)) return dump->data;
    }
    throw CliError("the amplifier on \"" + name_ + "\" sent no patch within 5 s");
  }

  void send(const Bytes& message) {
    if (const int rc = port_->send(message); rc != 0)
      throw CliError("sending to \"" + name_ + "\" failed (error " + std::to_string(rc) + ")");
  }

  static sysex::Message classifyQuietly(const Bytes& m) {
    sysex::setDiagnosticSink([](std::string_view) {});
    auto message = sysex::classify(m.data(), m.size());
    sysex::setDiagnosticSink({});
    return message;
  }

 private:
  void queue(const uint8_t* bytes, std::size_t length) {
    {
      std::lock_guard lock(mutex_);
      messages_.emplace_back(bytes, bytes + length);
    }
    arrived_.notify_one();
  }

  // A lost input stays lost (the amplifier or the service is gone): waiting on is pointless.
  void failIfGone() {
    if (!name_.empty() && backend_->openInputName().empty())
      throw CliError(backend_->serviceAlive() ? "the MIDI device \"" + name_ + "\" went away"
                                              : "the MIDI service stopped");
  }

  static std::string noDevice(const std::vector<std::string>& names) {
    std::string list;
    for (const auto& n : names) list += (list.empty() ? "\"" : " or \"") + n + "\"";
    return "no MIDI device " + list + " found within 5 s (see orv-cli ports)";
  }

  RtMidiBackend* backend_ = nullptr;
  std::unique_ptr<MidiPort> port_;
  std::string name_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Bytes> messages_;
};

// The model check of patches turns "Invalid Model." into a command failure.
class FailOnMessage : public IMessageReporter {
 public:
  void showMessage(int stringId, Icon) override { text = std::string(stringText(stringId)); }
  std::string text;
};

int ports(const DeviceOptions& o, Io& io) {
  AmpConnection amp(o.api);
  io.out << "MIDI service: " << amp.apiName() << '\n';
  const auto inputs = amp.port().listInputs();
  const auto outputs = amp.port().listOutputs();
  for (std::size_t i = 0; i < inputs.size(); ++i)
    io.out << "input " << i << ": " << inputs[i] << '\n';
  for (std::size_t i = 0; i < outputs.size(); ++i)
    io.out << "output " << i << ": " << outputs[i] << '\n';
  if (inputs.empty() && outputs.empty()) io.out << "no MIDI devices\n";
  return 0;
}

int pull(const DeviceOptions& o, Io& io) {
  refuseToReplace(o.file, o.force);  // before anything is asked of the amplifier
  AmpConnection amp(o.api);
  amp.open(o.port, Clock::now() + kAnswerTime);
  const char model = amp.waitForIdentity(Clock::now() + kAnswerTime);
  LibraryEntry entry;
  entry.data = amp.fetchPatch(Clock::now() + kAnswerTime);
  entry.modelCode = uint8_t(model);
  writePatchFile(entry, o.file);
  io.out << "pulled \"" << latin1ToUtf8(patchName(entry.data)) << "\" from " << amp.portName()
         << " (model " << model << ") into " << o.file << '\n';
  return 0;
}

int push(const DeviceOptions& o, Io& io) {
  LibraryEntry entry;
  readPatchFile(entry, o.file);  // a bad file fails before anything is sent
  AmpConnection amp(o.api);
  amp.open(o.port, Clock::now() + kAnswerTime);
  const char model = amp.waitForIdentity(Clock::now() + kAnswerTime);
  FailOnMessage refusal;
  if (!acceptForModel(entry, true, model, refusal) ||
      !acceptAmpType(entry.data, maxAmpType(model), refusal))
    throw CliError(refusal.text + " (the patch is for model " +
                   (entry.modelCode == patch::kAnyModel ? std::string("any")
                                                        : std::string(1, char(entry.modelCode))) +
                   ", the amplifier is model " + model + ")");
  amp.send(sysex::encodeBulkDump(entry.data));
  // Reading the patch back shows it arrived whole (and keeps the process alive until the
  // service has delivered it).
  if (amp.fetchPatch(Clock::now() + kAnswerTime) != entry.data)
    throw CliError("the amplifier on \"" + amp.portName() +
                   "\" holds another patch after the push");
  io.out << "pushed \"" << latin1ToUtf8(patchName(entry.data)) << "\" to " << amp.portName()
         << " (model " << model << ")\n";
  return 0;
}

// The line `orv-cli sysex decode` prints for the message.
std::string decodeLine(const Bytes& m) {
  std::ostringstream out, err;
  Args args = {"sysex", "decode"};
  std::istringstream hex(hexBytes(m));
  for (std::string b; hex >> b;) args.push_back(b);
  runCli(args, out, err);
  std::string line = out.str();
  while (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

int monitor(const DeviceOptions& o, Io& io) {
  interrupted = false;
  auto previousInt = std::signal(SIGINT, onInterrupt);
  auto previousTerm = std::signal(SIGTERM, onInterrupt);
  struct Restore {
    decltype(previousInt) i, t;
    ~Restore() {
      std::signal(SIGINT, i);
      std::signal(SIGTERM, t);
    }
  } restore{previousInt, previousTerm};

  AmpConnection amp(o.api);
  const auto start = Clock::now();
  amp.open(o.port, start + kAnswerTime);
  const auto end = o.seconds ? start + std::chrono::milliseconds(long(*o.seconds * 1000))
                             : Clock::time_point::max();
  bool answered = false;
  for (;;) {
    const auto deadline = answered ? end : std::min(end, start + kAnswerTime);
    auto m = amp.next(deadline);
    if (!m) break;
    if (std::holds_alternative<sysex::Identity>(AmpConnection::classifyQuietly(*m)))
      answered = true;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%9.3f ",
                  std::chrono::duration<double>(Clock::now() - start).count());
    io.out << stamp << hexBytes(*m) << "  " << decodeLine(*m) << '\n' << std::flush;
  }
  if (!answered && !interrupted)
    throw CliError("no amplifier answered on \"" + amp.portName() + "\" within 5 s");
  return 0;
}

// Declares the options of a device command (and the patch file of pull and push); the runner
// calls `command` with their values.
Runner declareDevice(CLI::App& app, int (*command)(const DeviceOptions&, Io&), bool force,
                     bool port, const char* file, bool seconds) {
  auto o = std::make_shared<DeviceOptions>();
  if (force) addForceOption(app, o->force);
  if (port) addPortOption(app, *o);
  addApiOption(app, *o);
  if (seconds) addSecondsOption(app, *o);
  if (file) addArgument(app, file, o->file, "the patch file");
  return [o, command](Io& io) { return command(*o, io); };
}

const bool registered =
    registerCommand(
        {"ports", "list the MIDI input and output devices as the editor names them", 110,
         [](CLI::App& app) { return declareDevice(app, ports, false, false, nullptr, false); }}) &&
    registerCommand(
        {"pull",
         "fetch the amplifier's current patch into a patch file (default ports\n"
         "      ORV10, then ORV5)",
         120,
         [](CLI::App& app) { return declareDevice(app, pull, true, true, "OUT.ZBP", false); }}) &&
    registerCommand(
        {"push", "send a patch file to the amplifier whole, after the model check", 130,
         [](CLI::App& app) { return declareDevice(app, push, false, true, "IN.ZBP", false); }}) &&
    registerCommand(
        {"monitor", "print every message the amplifier sends: time, bytes, classification", 140,
         [](CLI::App& app) { return declareDevice(app, monitor, false, true, nullptr, true); }});

}  // namespace

}  // namespace orv::cli
