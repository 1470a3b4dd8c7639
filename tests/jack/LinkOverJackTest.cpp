// The device link on the RtMidi backend, talking over a JACK server to orv-ampsim running as a
// separate process, wired as the main window wires it (listener, port reconnector on events 2
// and 3, hot-plug watcher running Check ports).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>

#include "device/DeviceLink.h"
#include "device/MidiPort.h"
#include "device/ParameterMap.h"
#include "device/SysexCodec.h"
#include "jack/AmpProcess.h"
#include "jack/JackServer.h"
#include "jack/LinkHarness.h"
#include "sim/AmpSimulator.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::AmpProcess;
using test::LinkHarness;

class LinkOverJack : public ::testing::Test {
 protected:
  void SetUp() override {
    ORV_REQUIRE_JACK();
    amp_ = std::make_unique<AmpProcess>(std::vector<std::string>{"--period", "250"});
    ASSERT_TRUE(amp_->ready()) << amp_->output();
    harness_ = std::make_unique<LinkHarness>(200ms);
  }
  void TearDown() override {
    harness_.reset();
    amp_.reset();
  }

  // Waits until the link is connected and holds the amplifier's patch.
  void connect() {
    ASSERT_TRUE(harness_->waitForEvent(EVENT_CONNECTED, '1', 5s)) << amp_->output();
    ASSERT_TRUE(harness_->waitForEvent(EVENT_DUMP_RECEIVED, -1, 5s)) << amp_->output();
  }

  DeviceLink& link() { return harness_->link(); }

  std::unique_ptr<AmpProcess> amp_;
  std::unique_ptr<LinkHarness> harness_;
};

TEST_F(LinkOverJack, TheAmplifiersIdentityConnectsAndItsPatchIsFetched) {
  const int from = amp_->lineCount();
  // Nothing is asked of the amplifier before its Identity: the ports open on event 3, the
  // Identity connects, the Dump Request follows, the Bulk Dump fills the mirror.
  connect();
  EXPECT_TRUE(harness_->reconnector().portsOpen());
  EXPECT_EQ(link().port().listInputs(), link().port().listOutputs());
  EXPECT_TRUE(link().isConnected());
  EXPECT_EQ(link().modelCode(), '1');
  EXPECT_EQ(link().mirror(), AmpSimulator::defaultPatch());
  EXPECT_GE(amp_->waitForReceived("(dump request)", from), 0);
  // Exactly one Dump Request, however many Identities followed.
  std::this_thread::sleep_for(600ms);
  int requests = 0;
  for (int n = from; (n = amp_->waitForReceived("(dump request)", n, 0ms)) >= 0; ++n) ++requests;
  EXPECT_EQ(requests, 1);
}

TEST(LinkOverJackTiming, AnAmplifierAnnouncingItselfWhileThePortsOpenIsConnectedAndFetched) {
  ORV_REQUIRE_JACK();
  // An Identity every 10 ms: several arrive while the output port is being opened.
  AmpProcess amp({"--period", "10"});
  ASSERT_TRUE(amp.ready()) << amp.output();
  LinkHarness harness(200ms);
  ASSERT_TRUE(harness.waitForEvent(EVENT_CONNECTED, '1', 5s)) << amp.output();
  ASSERT_TRUE(harness.waitForEvent(EVENT_DUMP_RECEIVED, -1, 5s)) << amp.output();
  EXPECT_EQ(harness.link().mirror(), AmpSimulator::defaultPatch());
  const int from = amp.lineCount();
  harness.link().send(sysex::encodeParameterChange(patch::kGain, 0, 55));
  EXPECT_GE(amp.waitForReceived("parameter change offset 129 = 0 55", from), 0) << amp.output();
}

// On real hardware the amplifier shows up through a bridge; the default name still finds it.
TEST(LinkOverJackBridge, TheDefaultNameFindsTheAmplifierBehindEachBridge) {
  ORV_REQUIRE_JACK();
  for (const char* bridge : {"a2j", "system", "pipewire"}) {
    SCOPED_TRACE(bridge);
    AmpProcess amp({"--period", "250", "--bridge", bridge});
    ASSERT_TRUE(amp.ready()) << amp.output();
    LinkHarness harness(200ms);
    ASSERT_TRUE(harness.waitForEvent(EVENT_CONNECTED, '1', 5s)) << amp.output();
    ASSERT_TRUE(harness.waitForEvent(EVENT_DUMP_RECEIVED, -1, 5s)) << amp.output();
    EXPECT_EQ(harness.link().port().listInputs(), std::vector<std::string>{"ORV10"});
    harness.mark();
    EXPECT_EQ(amp.command("knob 1003 12"), "ok knob 1003 = 12");
    EXPECT_TRUE(harness.waitForEvent(EVENT_PARAMETER_CHANGED, 1003));
  }
}

TEST_F(LinkOverJack, KnobChangesTravelBothWays) {
  connect();
  // Editor to amplifier: the gain (offset 129) as the dispatch writes it.
  const int from = amp_->lineCount();
  link().withMirror([](PatchData& p) { p[patch::kGain] = 77; });
  link().send(sysex::encodeParameterChange(patch::kGain, 0, 77));
  EXPECT_GE(amp_->waitForReceived("parameter change offset 129 = 0 77", from), 0) << amp_->output();
  EXPECT_EQ(amp_->command("get 129"), "ok get 129 = 77");

  // Amplifier to editor: a knob turned on the amplifier reaches the mirror as event 5.
  harness_->mark();
  EXPECT_EQ(amp_->command("knob 1003 12"), "ok knob 1003 = 12");  // master, offset 130
  ASSERT_EQ(params::offsetOf(1003), int(patch::kMaster));
  ASSERT_TRUE(harness_->waitForEvent(EVENT_PARAMETER_CHANGED, 1003));
  EXPECT_EQ(link().mirror()[patch::kMaster], 12);
  EXPECT_TRUE(link().edited());
}

TEST_F(LinkOverJack, SettingsAreReportedAndChanged) {
  connect();
  harness_->mark();
  link().requestSettings();
  // The simulator starts with stereo OFF (1), lamp ON (0), volume 3 of 5 (2).
  for (int v : {0 * 256 + 1, 1 * 256 + 0, 2 * 256 + 2})
    EXPECT_TRUE(harness_->waitForEvent(EVENT_SETTING_REPORTED, v)) << v;
  const int from = amp_->lineCount();
  link().sendSetting(sysex::UsbVolume, 4);
  EXPECT_GE(amp_->waitForReceived("setting change 2 = 4", from), 0);
  EXPECT_EQ(amp_->command("settings"), "ok settings stereo 1 lamp 0 volume 4");
}

TEST_F(LinkOverJack, AnotherModelDropsTheLinkAndConnectsAgainWithIt) {
  connect();
  harness_->mark();
  EXPECT_EQ(amp_->command("model 3"), "ok model 3");
  ASSERT_TRUE(harness_->waitForEvent(EVENT_DISCONNECTED));
  ASSERT_TRUE(harness_->waitForEvent(EVENT_CONNECTED, '3'));
  EXPECT_EQ(link().modelCode(), '3');
}

TEST_F(LinkOverJack, AKilledAmplifierDropsTheLinkAndIsFoundAgainWhenItReturns) {
  connect();
  harness_->mark();
  const auto killed = std::chrono::steady_clock::now();
  amp_->process().stop(SIGKILL);
  ASSERT_TRUE(harness_->waitForEvent(EVENT_DISCONNECTED, -1, 6s));
  EXPECT_LT(std::chrono::steady_clock::now() - killed, 4s);
  EXPECT_FALSE(link().isConnected());
  EXPECT_FALSE(harness_->reconnector().portsOpen());
  // Sends while it is away are skipped, not errors.
  EXPECT_NO_THROW(link().requestDump());

  // Plugged in again (a new process, new JACK ports of the same name): event 3 opens the
  // configured ports again by name, no restart needed.
  const int openedBefore = harness_->reconnector().opened();
  amp_ = std::make_unique<AmpProcess>(std::vector<std::string>{"--period", "250"});
  ASSERT_TRUE(amp_->ready()) << amp_->output();
  ASSERT_TRUE(harness_->waitForEvent(EVENT_CONNECTED, '1', 5s)) << amp_->output();
  EXPECT_GT(harness_->reconnector().opened(), openedBefore);
  EXPECT_GE(amp_->waitForReceived("(dump request)"), 0);
  // The link works both ways again.
  harness_->mark();
  EXPECT_EQ(amp_->command("knob 1002 21"), "ok knob 1002 = 21");
  EXPECT_TRUE(harness_->waitForEvent(EVENT_PARAMETER_CHANGED, 1002));
}

TEST_F(LinkOverJack, ADeviceThatLeavesTheListIsNoticedByTheWatcherBeforeTheTimeOut) {
  connect();
  harness_->mark();
  const int checksBefore = harness_->checks();
  const auto gone = std::chrono::steady_clock::now();
  EXPECT_EQ(amp_->command("vanish"), "ok vanish");
  ASSERT_TRUE(harness_->waitForEvent(EVENT_DISCONNECTED, -1, 5s));
  // The watcher looks every 200 ms here; the Identity time-out alone would take 3 s.
  EXPECT_LT(std::chrono::steady_clock::now() - gone, 2s);
  EXPECT_GT(harness_->checks(), checksBefore);
  EXPECT_FALSE(link().port().isInputOpen());
  EXPECT_EQ(amp_->command("back"), "ok back");
  EXPECT_TRUE(harness_->waitForEvent(EVENT_CONNECTED, '1', 5s));
}

TEST_F(LinkOverJack, ASilentAmplifierDropsTheLinkAfterThreeSeconds) {
  connect();
  harness_->mark();
  const auto silent = std::chrono::steady_clock::now();
  EXPECT_EQ(amp_->command("silent"), "ok silent");
  ASSERT_TRUE(harness_->waitForEvent(EVENT_DISCONNECTED, -1, 6s));
  // 3 whole seconds after the last Identity, which came at most 250 ms before "silent".
  EXPECT_LT(std::chrono::steady_clock::now() - silent, 4500ms);
  EXPECT_FALSE(link().isConnected());
  // Its ports are still there; once it speaks again the reopened ports carry the Identity.
  EXPECT_EQ(amp_->command("speak"), "ok speak");
  EXPECT_TRUE(harness_->waitForEvent(EVENT_CONNECTED, '1', 5s));
}

}  // namespace
}  // namespace orv
