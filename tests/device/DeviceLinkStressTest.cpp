#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "LinkFixture.h"
#include "device/SysexCodec.h"
#include "support/WaitFor.h"

using namespace orv;
using namespace orv::testing;
using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

namespace {

void ignore(void*, int32_t, int32_t, int32_t) {}

bool wellFormed(const Bytes& m) {
  if (m == Bytes{0xE0, 0x0F, 0x00}) return true;  // the output probe
  return AmpSimulator::isParameterChange(m)                                     ? m.size() == 11
         : AmpSimulator::isBulkDump(m)                                          ? m.size() == 276
         : AmpSimulator::isDumpRequest(m) || AmpSimulator::isSettingsRequest(m) ? m.size() == 13
                                                                                : false;
}

}  // namespace

// The amplifier turns knobs and switches models (so Dump Requests go out from the MIDI thread)
// while the editor writes the mirror and sends, another thread reads the link's state and
// listeners come and go, with the real tick thread running. Run under ThreadSanitizer.
TEST(DeviceLinkStress, AmplifierAndEditorWorkAtOnce) {
  auto service = std::make_shared<VirtualMidiService>();
  EventLog events;
  const auto ampOwner = connectRealTimeLink(service, events, 5ms);
  AmpSimulator& amp = *ampOwner;
  DeviceLink& link = DeviceLink::instance();
  ASSERT_TRUE(events.waitFor(EVENT_DUMP_RECEIVED, 5s));

  constexpr int kRounds = 1500;
  std::atomic<bool> stop{false};
  std::thread knobs([&] {
    for (int i = 0; i < kRounds; ++i) {
      amp.turnKnob(1002, i % 101);
      if (i % 300 == 150) amp.setModel(amp.model() == '1' ? '2' : '1');
    }
  });
  std::thread reader([&] {
    while (!stop) {
      const PatchData m = link.mirror();
      (void)m;
      (void)link.edited();
      (void)link.isConnected();
      (void)link.modelCode();
    }
  });
  std::thread listeners([&] {
    while (!stop) {
      link.addListener(&ignore, nullptr);
      link.removeListener(&ignore);
    }
  });
  for (int i = 0; i < kRounds; ++i) {
    const uint8_t v = uint8_t(i % 101);
    link.withMirror([&](PatchData& m) {
      m[130] = v;
      link.setEdited(true);
      link.send(sysex::encodeParameterChange(130, 0, v));
    });
    if (i % 200 == 0) link.sendWholePatch();
    if (i % 250 == 0) link.requestSettings();
  }
  knobs.join();
  stop = true;
  reader.join();
  listeners.join();

  // Settled on one model, a last change each way arrives whole.
  amp.setModel('1');
  ASSERT_TRUE(orv::test::waitFor([&] { return link.modelCode() == '1'; }, 5s));
  service->flush();
  // A change made while no model was connected waits for the amplifier to be given the sound.
  link.sendWholePatch();
  link.withMirror([&](PatchData& m) {
    m[130] = 42;
    link.send(sysex::encodeParameterChange(130, 0, 42));
  });
  amp.turnKnob(1002, 24);
  service->flush();
  EXPECT_EQ(amp.patch()[130], 42);
  EXPECT_EQ(link.mirror()[129], 24);
  for (const auto& m : amp.received()) EXPECT_TRUE(wellFormed(m)) << m.size() << " bytes";

  DeviceLink::destroy();
  DeviceLink::setBackendFactory({});
}
