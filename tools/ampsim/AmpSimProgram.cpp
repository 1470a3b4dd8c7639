#include "tools/ampsim/AmpSimProgram.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "patch/GenericException.h"
#include "tools/EmptyOptionValues.h"
#include "tools/ampsim/ServiceAmpTransport.h"

namespace orv {

namespace {

// A whole decimal number and nothing else: no blanks, no "+".
bool parseInt(const std::string& s, int& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return !s.empty() && ec == std::errc() && end == s.data() + s.size();
}

std::string hex(const uint8_t* bytes, std::size_t length) {
  std::string s;
  char b[4];
  for (std::size_t i = 0; i < length; ++i) {
    std::snprintf(b, sizeof b, i == 0 ? "%02X" : " %02X", bytes[i]);
    s += b;
  }
  return s;
}

}  // namespace

namespace {

const char* const kCommands =
    "An ORV amplifier simulator on the computer's MIDI service. Prints every message it\n"
    "receives, one line each. --bridge (JACK only) shows it the way that bridge to the\n"
    "machine's MIDI hardware shows a USB amplifier.\n";
const char* const kStdinCommands =
    "Commands on standard input:\n"
    "  knob ID VALUE   turn a knob (parameter 1001..1055) and report it to the editor\n"
    "  model N         switch to model N (0..4)\n"
    "  silent | speak  stop or resume the Identity announcements\n"
    "  identity        announce once now\n"
    "  vanish | back   leave the device list, come back\n"
    "  get OFFSET      print a byte of the current patch\n"
    "  settings        print the device settings (stereo, lamp, volume)\n"
    "  help            print this text\n"
    "  quit | exit     end (so does end of input, SIGINT or SIGTERM)\n";

// A value the option refuses: the message is the whole error text.
[[noreturn]] void refuse(const std::string& message) {
  throw CLI::ValidationError(message);
}

// The command line, declared once: parsing, --help and the manual page come from here.
void declare(CLI::App& app, AmpSimProgram::Options& o) {
  app.description(kCommands);
  app.footer(kStdinCommands);
  app.set_version_flag("--version", ORV_VERSION);
  app.add_option_function<std::string>(
         "--name",
         [&o](const std::string& v) {
           if (v.empty()) refuse("--name must not be empty");
           o.name = v;
         },
         "the device's name (default ORV10)")
      ->type_name("NAME");
  app.add_option_function<std::string>(
         "--model",
         [&o](const std::string& v) {
           int n = 0;
           if (!parseInt(v, n) || n < 0 || n > 4) refuse("--model takes 0..4, not " + v);
           o.model = char('0' + n);
         },
         "the model it reports (default 1)")
      ->type_name("0..4");
  app.add_option_function<std::string>(
         "--midi-api",
         [&o](const std::string& v) {
           const auto api = RtMidiBackend::parseApi(v);
           if (!api) refuse("--midi-api takes alsa, jack or any, not " + v);
           o.api = *api;
         },
         "the MIDI service (default any: ALSA, then JACK)")
      ->type_name("alsa|jack|any");
  app.add_option_function<std::string>(
         "--period",
         [&o](const std::string& v) {
           int n = 0;
           if (!parseInt(v, n) || n < 10 || n > 60000)
             refuse("--period takes 10..60000 milliseconds, not " + v);
           o.periodMs = n;
         },
         "milliseconds between Identity announcements (default 1000)")
      ->type_name("MS");
  app.add_option_function<std::string>(
         "--bridge",
         [&o](const std::string& v) {
           const auto bridge = VirtualDevice::parseBridge(v);
           if (!bridge || *bridge == VirtualDevice::Bridge::None)
             refuse("--bridge takes a2j, system or pipewire, not " + v);
           o.bridge = *bridge;
         },
         "on JACK, appear as that bridge shows a USB amplifier")
      ->type_name("a2j|system|pipewire");
}

}  // namespace

std::string AmpSimProgram::versionLine() {
  return std::string("orv-ampsim ") + ORV_VERSION + "\n";
}

std::string AmpSimProgram::usage() {
  Options o;
  CLI::App app{"", "orv-ampsim"};
  declare(app, o);
  return app.help();
}

std::optional<AmpSimProgram::Options> AmpSimProgram::parseArguments(
    const std::vector<std::string>& args, std::string& error, bool& help, bool* version) {
  Options o;
  help = false;
  if (version) *version = false;
  CLI::App app{"", "orv-ampsim"};
  declare(app, o);
  const std::vector<std::string> kept = tools::keepEmptyValues(app, args);
  std::vector<std::string> reversed(kept.rbegin(), kept.rend());  // CLI11 takes them backwards
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    help = true;
    return o;
  } catch (const CLI::CallForVersion&) {
    (version ? *version : help) = true;
    return o;
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return std::nullopt;
  }
  if (o.bridge != VirtualDevice::Bridge::None && o.api == RtMidiBackend::Api::Alsa) {
    error = "--bridge works on JACK only";
    return std::nullopt;
  }
  return o;
}

std::string AmpSimProgram::describe(const uint8_t* bytes, std::size_t length) {
  const AmpSimulator::Bytes m(bytes, bytes + length);
  std::string what = "other";
  if (AmpSimulator::isDumpRequest(m)) {
    what = "dump request";
  } else if (AmpSimulator::isSettingsRequest(m)) {
    what = "settings request";
  } else if (AmpSimulator::isParameterChange(m) && length >= 11) {
    what = "parameter change offset " + std::to_string((m[6] & 0x7F) * 128 + (m[7] & 0x7F)) +
           " = " + std::to_string(m[8]) + " " + std::to_string(m[9]);
  } else if (AmpSimulator::isSettingChange(m) && length >= 9) {
    what = "setting change " + std::to_string(m[6]) + " = " + std::to_string(m[7]);
  } else if (AmpSimulator::isBulkDump(m)) {
    what = "bulk dump";
  } else if (length <= 3 && length > 0 && bytes[0] >= 0x80 && bytes[0] != 0xF0) {
    what = "short message";
  }
  return "rx " + hex(bytes, length) + " (" + what + ")";
}

AmpSimProgram::AmpSimProgram(Options options, std::ostream& out)
    : options_(std::move(options)), out_(out) {
  printer_ = std::thread([this] { printLoop(); });
}

AmpSimProgram::~AmpSimProgram() {
  {
    std::lock_guard lock(presenceMutex_);
    stopKeeping_ = true;
  }
  keeperWake_.notify_all();
  if (keeper_.joinable()) keeper_.join();
  sim_.reset();  // no receiver call after this
  {
    std::lock_guard lock(linesMutex_);
    stopPrinting_ = true;
  }
  linesChanged_.notify_all();
  printer_.join();
}

bool AmpSimProgram::start(std::string& error) {
  auto transport = std::make_unique<ServiceAmpTransport>(
      options_.api, [this](const uint8_t* b, std::size_t n) { print(describe(b, n)); },
      options_.bridge);
  transport_ = transport.get();
  AmpSimulator::Options o;
  o.name = options_.name;
  o.model = options_.model;
  o.identityPeriod = std::chrono::milliseconds(options_.periodMs);
  sim_ = std::make_unique<AmpSimulator>(std::move(transport), o);
  if (sim_->start() != 0) {
    error = transport_->lastError();
    sim_.reset();
    return false;
  }
  print(readyLine());
  keeper_ = std::thread([this] { keepLoop(); });
  return true;
}

std::string AmpSimProgram::readyLine() const {
  return "ready: \"" + options_.name + "\" on " + RtMidiBackend::apiName(transport_->api()) +
         ", model " + std::string(1, sim_->model()) +
         (options_.bridge == VirtualDevice::Bridge::None
              ? std::string()
              : std::string(", through the ") + VirtualDevice::bridgeName(options_.bridge) +
                    " bridge");
}

void AmpSimProgram::keepLoop() {
  std::unique_lock lock(presenceMutex_);
  while (!keeperWake_.wait_for(lock, kServiceCheckPeriod, [this] { return stopKeeping_; })) {
    lock.unlock();
    keepOnService();
    lock.lock();
  }
}

void AmpSimProgram::keepOnService() {
  std::lock_guard lock(presenceMutex_);
  if (transport_->serviceLost()) {
    sim_->vanish();  // lets go of the dead connection
    waitingForService_ = true;
    print("the MIDI service stopped; waiting for it to come back");
  }
  if (waitingForService_ && sim_->comeBack() == 0) {
    waitingForService_ = false;
    print(readyLine());
  }
}

void AmpSimProgram::setPresent(bool present) {
  std::lock_guard lock(presenceMutex_);
  waitingForService_ = false;  // the user decides from now on
  if (present) {
    if (sim_->comeBack() != 0) {
      print("error: " + transport_->lastError());
      return;
    }
  } else {
    sim_->vanish();
  }
  print(present ? "ok back" : "ok vanish");
}

bool AmpSimProgram::command(const std::string& line) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> word)) return true;
  std::vector<std::string> args;
  for (std::string a; in >> a;) args.push_back(a);
  auto fail = [this](const std::string& why) {
    print("error: " + why);
    return true;
  };
  int a = 0, b = 0;
  try {
    if (word == "quit" || word == "exit") return false;
    if (word == "help") {
      print(usage());
    } else if (word == "knob") {
      if (args.size() != 2 || !parseInt(args[0], a) || !parseInt(args[1], b))
        return fail("usage: knob ID VALUE");
      const int rc = sim_->turnKnob(a, b);
      if (rc != 0) return fail("sending failed (" + std::to_string(rc) + ")");
      print("ok knob " + std::to_string(a) + " = " + std::to_string(b));
    } else if (word == "model") {
      if (args.size() != 1 || !parseInt(args[0], a) || a < 0 || a > 4)
        return fail("usage: model 0..4");
      sim_->setModel(char('0' + a));
      print("ok model " + std::to_string(a));
    } else if (word == "silent" || word == "speak") {
      sim_->setSilent(word == "silent");
      print("ok " + word);
    } else if (word == "identity") {
      sim_->sendIdentity();
      print("ok identity");
    } else if (word == "vanish" || word == "back") {
      setPresent(word == "back");
    } else if (word == "get") {
      if (args.size() != 1 || !parseInt(args[0], a) || a < 0 || a >= int(PatchData::kSize))
        return fail("usage: get 0..255");
      print("ok get " + std::to_string(a) + " = " + std::to_string(sim_->patch()[a]));
    } else if (word == "settings") {
      const auto s = sim_->settings();
      print("ok settings stereo " + std::to_string(s[0]) + " lamp " + std::to_string(s[1]) +
            " volume " + std::to_string(s[2]));
    } else {
      return fail("unknown command " + word + " (try help)");
    }
  } catch (const CGenericException& e) {
    return fail("invalid parameter (" + std::to_string(e.code()) + ")");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
  return true;
}

void AmpSimProgram::print(std::string line) {
  {
    std::lock_guard lock(linesMutex_);
    lines_.push_back(std::move(line));
  }
  linesChanged_.notify_one();
}

void AmpSimProgram::printLoop() {
  std::unique_lock lock(linesMutex_);
  for (;;) {
    linesChanged_.wait(lock, [this] { return stopPrinting_ || !lines_.empty(); });
    while (!lines_.empty()) {
      const std::string line = std::move(lines_.front());
      lines_.pop_front();
      lock.unlock();
      out_ << line << '\n' << std::flush;
      lock.lock();
    }
    if (stopPrinting_) return;
  }
}

}  // namespace orv
