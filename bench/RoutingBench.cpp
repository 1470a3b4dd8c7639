// Control routing figure: one dial gesture through the routing table, the mirror write and the
// codec until the Parameter Change is in the MIDI backend's hands.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "BenchReport.h"
#include "device/ControlRouter.h"
#include "device/DeviceLink.h"
#include "device/SysexCodec.h"

using namespace orv;
using Clock = std::chrono::steady_clock;

namespace {

// One device whose ports always open; remembers when the last message reached it.
class StampingBackend : public MidiBackend {
 public:
  std::vector<std::string> inputDevices() override { return {"ORV10"}; }
  std::vector<std::string> outputDevices() override { return {"ORV10"}; }
  int openInput(int, Receiver) override { return 0; }
  void closeInput() override {}
  std::string openInputName() override { return "ORV10"; }
  int openOutput(int) override { return 0; }
  void closeOutput() override {}
  std::string openOutputName() override { return "ORV10"; }
  int send(const uint8_t* bytes, std::size_t length) override {
    last = Clock::now();
    lastLength = length;
    lastByte = length > 9 ? bytes[9] : 0;
    ++count;
    return 0;
  }

  Clock::time_point last{};
  std::size_t lastLength = 0;
  uint8_t lastByte = 0;
  int count = 0;
};

}  // namespace

int main() {
  StampingBackend* backend = nullptr;
  DeviceLink::setBackendFactory([&backend] {
    auto b = std::make_unique<StampingBackend>();
    backend = b.get();
    return b;
  });
  DeviceLink& link = DeviceLink::instance();
  link.setClockForTesting([] { return Clock::now(); });  // no tick thread; the link stays up
  link.openPorts(0, 0);
  const sysex::Bytes identity{0xF0, 0x43, 0x7D, 0x60, 'V', 'K', 'R', '1', 0xF7};
  link.receive(identity.data(), identity.size());

  ControlRouter router(link);
  SectionState state;
  int n = 0;
  std::vector<double> samples;
  const auto once = [&] {
    const int value = 40 + (n++ & 1);  // alternate, so every gesture writes and sends
    const auto t0 = Clock::now();
    router.control(1112, value, state);  // the amplifier's Master dial
    samples.push_back(std::chrono::duration<double, std::nano>(backend->last - t0).count());
  };
  for (int i = 0; i < 200; ++i) once();
  samples.clear();
  const int sentBefore = backend->count;
  for (int i = 0; i < 5000; ++i) once();
  std::sort(samples.begin(), samples.end());

  if (!link.isConnected() || backend->count - sentBefore != 5000 || backend->lastLength != 11 ||
      backend->lastByte != 40 + ((n - 1) & 1))
    std::printf("routing bench: the gestures did not reach the backend as expected\n");
  bench::report("device.route_write_to_backend", bench::median(samples) / 1000.0, "us", 20);
  DeviceLink::destroy();
  return 0;
}
