// Device link figures: receiving a Bulk Dump, and what the idle tick thread costs.
#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "BenchReport.h"
#include "device/DeviceLink.h"
#include "device/SysexCodec.h"

using namespace orv;

namespace {

// A MIDI service with no devices: sends go nowhere, nothing arrives.
class NullBackend : public MidiBackend {
 public:
  std::vector<std::string> inputDevices() override { return {}; }
  std::vector<std::string> outputDevices() override { return {}; }
  int openInput(int, Receiver) override { return 2; }
  void closeInput() override {}
  std::string openInputName() override { return {}; }
  int openOutput(int) override { return 2; }
  void closeOutput() override {}
  std::string openOutputName() override { return {}; }
  int send(const uint8_t*, std::size_t) override { return 0; }
};

double processCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Classify and apply a received Bulk Dump on a connected link; every dump differs from the
// mirror, so each one replaces it and queues event 4.
void bulkDumpReceive() {
  DeviceLink& link = DeviceLink::instance();
  link.setClockForTesting([] { return DeviceLink::Clock::now(); });  // ticks by hand
  const sysex::Bytes identity{0xF0, 0x43, 0x7D, 0x60, 'V', 'K', 'R', '1', 0xF7};
  link.receive(identity.data(), identity.size());

  PatchData a, b;
  initPatch("Bench A", a);
  initPatch("Bench B", b);
  b[129] = 64;
  const sysex::Bytes dumps[2] = {sysex::encodeBulkDump(a), sysex::encodeBulkDump(b)};
  int n = 0;
  const auto times = bench::sampleNs([&] {
    const auto& d = dumps[n++ & 1];
    link.receive(d.data(), d.size());
  });
  link.tick();  // drain the queued events
  if (!link.isConnected() || link.mirror() != (n & 1 ? a : b))
    std::printf("bulk dump not applied\n");
  bench::report("device.bulk_dump_receive", bench::median(times) / 1000.0, "us", 20);
  DeviceLink::destroy();
}

// The tick thread's CPU share while nothing is connected (twenty event-3 deliveries a second).
void idleTick() {
  std::atomic<int> delivered{0};
  DeviceLink& link = DeviceLink::instance();
  link.addListener([](void* c, int32_t, int32_t, int32_t) { ++*static_cast<std::atomic<int>*>(c); },
                   &delivered);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto wall0 = std::chrono::steady_clock::now();
  const double cpu0 = processCpuSeconds();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  const double cpu = processCpuSeconds() - cpu0;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  if (delivered < 40) std::printf("tick thread did not run (%d ticks)\n", delivered.load());
  bench::report("device.idle_tick_cpu", 100.0 * cpu / wall, "%", 0.2);
  DeviceLink::destroy();
}

}  // namespace

int main() {
  DeviceLink::setBackendFactory([] { return std::make_unique<NullBackend>(); });
  bulkDumpReceive();
  idleTick();
  return 0;
}
