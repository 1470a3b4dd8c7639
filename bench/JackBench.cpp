// Round trips over a JACK server of the bench's own (`jackd --no-realtime -d dummy -r 48000
// -p 64`): the device link on the RtMidi backend and our simulator as a JACK device.
//  - parameter write: from the editor writing a parameter until the simulator has applied it;
//  - knob: from a knob turned on the simulator until event 5 is queued.
// The totals are mostly JACK's period (1.33 ms); the editor's own share (the write and the send,
// or the receive until the event is queued) is reported apart.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchReport.h"
#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/SysexCodec.h"
#include "device/rtmidi/RtMidiBackend.h"
#include "sim/AmpSimulator.h"
#include "tools/ampsim/ServiceAmpTransport.h"

using namespace orv;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSamples = 400, kWarmup = 20;

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
      .count();
}

// Starts a program with its output thrown away; it gets SIGTERM should the bench die.
pid_t spawn(std::vector<std::string> argv) {
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp(args[0], args.data());
    _exit(127);
  }
  return pid;
}

bool onPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    const auto end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool jackAnswers() {
  const pid_t lsp = spawn({"jack_lsp"});
  int status = 0;
  waitpid(lsp, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The JACK server of the bench, stopped by its PID.
class JackServer {
 public:
  bool start() {
    setenv("JACK_DEFAULT_SERVER", "orv-bench", 1);
    pid_ = spawn(
        {"jackd", "-n", "orv-bench", "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "64"});
    for (int i = 0; i < 200; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
      if (jackAnswers()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }
  ~JackServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 200; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

// What the simulator has applied: the value of the last Parameter Change it took in, and when.
struct Applied {
  std::atomic<int> value{-1};
  std::atomic<int64_t> at{0};
};

// What the editor has queued: the identifier of the last event 5, when its message reached the
// port layer and when the link had queued the event.
struct Queued {
  std::atomic<int> count{0};
  std::atomic<int64_t> arrived{0};
  std::atomic<int64_t> queued{0};
};

void spinUntil(const std::function<bool()>& done) {
  const auto end = Clock::now() + std::chrono::seconds(2);
  while (!done() && Clock::now() < end) std::this_thread::yield();
}

void report(const char* name, std::vector<double> ns, const char* unit, double scale,
            double limit) {
  std::sort(ns.begin(), ns.end());
  bench::report(std::string(name) + ".median", bench::median(ns) / scale, unit, limit);
  bench::report(std::string(name) + ".p99", bench::percentile(ns, 99) / scale, unit, limit);
}

int run() {
  Applied applied;
  auto transport = std::make_unique<ServiceAmpTransport>(
      RtMidiBackend::Api::Jack, [&](const uint8_t* b, std::size_t n) {
        if (n == 11 && b[3] == 0x10) {  // a Parameter Change, applied by now
          applied.at = nowNs();
          applied.value = b[9];
        }
      });
  AmpSimulator::Options options;
  options.identityPeriod = std::chrono::milliseconds(500);
  AmpSimulator amp(std::move(transport), options);
  if (amp.start() != 0) {
    std::fprintf(stderr, "bench_Jack: the simulator could not appear on JACK\n");
    return 1;
  }

  DeviceLink::setBackendFactory(RtMidiBackend::factory(RtMidiBackend::Api::Jack));
  DeviceLink& link = DeviceLink::instance();
  MidiPort& port = link.port();
  const int in = port.findInput("ORV10"), out = port.findOutput("ORV10");
  if (in < 0 || out < 0) {
    std::fprintf(stderr, "bench_Jack: ORV10 is not listed\n");
    return 1;
  }
  // The ports as DeviceLink::openPorts opens them, with the receive timed on the way.
  Queued queued;
  port.openInput(in, [&](const uint8_t* b, std::size_t n) {
    const int64_t arrived = nowNs();
    link.receive(b, n);
    if (n == 11 && b[3] == 0x10) {
      queued.arrived = arrived;
      queued.queued = nowNs();
      ++queued.count;
    }
  });
  port.startInput();
  port.openOutput(out);
  port.setOutputOpen(true);
  spinUntil([&] { return link.isConnected(); });
  if (!link.isConnected()) {
    std::fprintf(stderr, "bench_Jack: the simulator did not connect\n");
    return 1;
  }

  // Editor -> simulator.
  std::vector<double> total, share;
  for (int i = 0; i < kWarmup + kSamples; ++i) {
    const uint8_t v = uint8_t(i % 100 + 1);
    applied.value = -1;
    const int64_t t0 = nowNs();
    link.withMirror([v](PatchData& p) { p[patch::kGain] = v; });
    link.send(sysex::encodeParameterChange(patch::kGain, 0, v));
    const int64_t t1 = nowNs();
    spinUntil([&] { return applied.value == v; });
    if (applied.value != v) continue;
    if (i >= kWarmup) {
      total.push_back(double(applied.at - t0));
      share.push_back(double(t1 - t0));
    }
  }

  // Simulator -> editor.
  std::vector<double> knobTotal, knobShare;
  for (int i = 0; i < kWarmup + kSamples; ++i) {
    const int before = queued.count;
    const int64_t t0 = nowNs();
    amp.turnKnob(1003, i % 100 + 1);  // master
    spinUntil([&] { return queued.count > before; });
    if (queued.count == before) continue;
    if (i >= kWarmup) {
      knobTotal.push_back(double(queued.queued - t0));
      knobShare.push_back(double(queued.queued - queued.arrived));
    }
  }
  port.closeInput();
  DeviceLink::destroy();
  DeviceLink::setBackendFactory(nullptr);

  if (total.size() < kSamples / 2 || knobTotal.size() < kSamples / 2) {
    std::fprintf(stderr, "bench_Jack: too many messages lost (%zu, %zu of %d)\n", total.size(),
                 knobTotal.size(), kSamples);
    return 1;
  }
  report("jack.param_write_to_applied", total, "ms", 1e6, 5);
  report("jack.param_write_editor_share", share, "us", 1e3, 100);
  report("jack.knob_to_event5_queued", knobTotal, "ms", 1e6, 5);
  report("jack.knob_to_event5_editor_share", knobShare, "us", 1e3, 100);
  return 0;
}

}  // namespace

int main() {
  std::signal(SIGPIPE, SIG_IGN);
  if (!onPath("jackd") || !onPath("jack_lsp")) {
    std::fprintf(stderr,
                 "bench_Jack: jackd not found (run scripts/setup, which installs jackd2)\n");
    return 1;
  }
  JackServer server;
  if (!server.start()) {
    std::fprintf(stderr, "bench_Jack: the JACK server did not start\n");
    return 1;
  }
  return run();
}
