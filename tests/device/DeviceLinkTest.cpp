#include <gtest/gtest.h>

#include "LinkFixture.h"
#include "device/SysexCodec.h"
#include "support/FailureOf.h"

using namespace orv;
using namespace orv::testing;
using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

using orv::test::codeOf;

// --- Connecting ----------------------------------------------------------------------------

TEST_F(LinkTest, FirstIdentityConnectsAndFetchesThePatchOnce) {
  AmpSimulator::Options o;
  o.model = '3';
  plugIn(o);
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_NOT_CONNECTED, 0}}));
  EXPECT_FALSE(link->edited());

  // The Identity connects; the Dump Request goes out and the amplifier's patch comes back.
  EXPECT_EQ(identity(), (std::vector<Event>{{EVENT_CONNECTED, 0x33}, {EVENT_DUMP_RECEIVED, 0}}));
  EXPECT_TRUE(link->isConnected());
  EXPECT_EQ(link->modelCode(), '3');
  EXPECT_EQ(dumpRequests(), 1u);
  EXPECT_EQ(amp->received().size(), 1u);
  EXPECT_EQ(link->mirror(), amp->patch());
  EXPECT_TRUE(link->edited());

  // A second Identity a second later only keeps the link.
  clock.advance(1s);
  EXPECT_TRUE(identity().empty());
  EXPECT_EQ(dumpRequests(), 1u);
}

TEST_F(LinkTest, DumpEqualToTheMirrorChangesNothing) {
  plugIn();
  link->setMirror(amp->patch());
  EXPECT_EQ(identity(), (std::vector<Event>{{EVENT_CONNECTED, '1'}}));
  EXPECT_FALSE(link->edited());

  amp->sendRaw(sysex::encodeBulkDump(link->mirror()));
  EXPECT_TRUE(tick().empty());
  EXPECT_FALSE(link->edited());

  // A dump that differs replaces the mirror.
  PatchData other = amp->patch();
  other[129] = 99;
  amp->sendRaw(sysex::encodeBulkDump(other));
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_DUMP_RECEIVED, 0}}));
  EXPECT_EQ(link->mirror(), other);
  EXPECT_TRUE(link->edited());
}

// The baseline is the sound as last loaded or stored; edits and knob changes leave it alone.
TEST_F(LinkTest, BaselineFollowsLoadsDumpsAndStoresButNotEdits) {
  plugIn();
  identity();
  PatchData loaded = amp->patch();
  loaded[129] = 7;
  link->setMirror(loaded);
  link->withMirror([](PatchData& m) { m[129] = 8; });
  EXPECT_EQ(link->baseline(), loaded);

  PatchData dumped = loaded;
  dumped[129] = 9;
  amp->sendRaw(sysex::encodeBulkDump(dumped));
  tick();
  EXPECT_EQ(link->baseline(), dumped);

  link->withMirror([](PatchData& m) { m[129] = 10; });
  link->setEdited(false);
  EXPECT_EQ(link->baseline()[129], 10);
}

TEST_F(LinkTest, BadDumpsLeaveTheMirror) {
  plugIn();
  connect();
  const PatchData before = link->mirror();
  PatchData other;
  Bytes bad = sysex::encodeBulkDump(other);
  bad[274] ^= 0x01;
  amp->sendRaw(bad);
  amp->sendRaw(Bytes(bad.begin(), bad.begin() + 275));
  EXPECT_TRUE(tick().empty());
  EXPECT_EQ(link->mirror(), before);
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{"Check sum error."});
}

// --- Keeping and losing the link ------------------------------------------------------------

TEST_F(LinkTest, IdentitiesEveryTwoSecondsKeepTheLinkAndSilenceDropsItAfterThreeSeconds) {
  plugIn();
  connect();
  for (int i = 0; i < 30; ++i) {  // a minute of Identities every 2 s
    EXPECT_FALSE(contains(run(2000ms), EVENT_DISCONNECTED)) << "after " << 2 * (i + 1) << " s";
    amp->sendIdentity();
  }
  settle();

  // Silence: event 2 comes once, 3 seconds (to the tick) after the last Identity.
  const auto lastIdentity = clock.now();
  std::vector<Event> all;
  DeviceLink::Clock::duration droppedAfter{};
  while (clock.now() - lastIdentity < 5s) {
    clock.advance(50ms);
    const auto e = tick();
    if (contains(e, EVENT_DISCONNECTED)) droppedAfter = clock.now() - lastIdentity;
    all.insert(all.end(), e.begin(), e.end());
  }
  EXPECT_GE(droppedAfter, 3s);
  EXPECT_LT(droppedAfter, 4s);
  EXPECT_EQ(std::count(all.begin(), all.end(), Event{EVENT_DISCONNECTED, 0}), 1);
  EXPECT_FALSE(link->isConnected());
  EXPECT_EQ(link->modelCode(), 0);
  // From then on every tick says "not connected".
  EXPECT_EQ(all.back(), (Event{EVENT_NOT_CONNECTED, 0}));
  EXPECT_EQ(run(1000ms), std::vector<Event>(20, Event{EVENT_NOT_CONNECTED, 0}));
}

TEST_F(LinkTest, AnotherModelReconnectsAndFetchesAgain) {
  plugIn();
  connect();
  amp->setModel('2');
  // The amplifier's patch equals the mirror, so no event 4 follows.
  EXPECT_EQ(identity(), (std::vector<Event>{{EVENT_DISCONNECTED, 0}, {EVENT_CONNECTED, 0x32}}));
  EXPECT_EQ(link->modelCode(), '2');
  EXPECT_EQ(dumpRequests(), 1u);
}

TEST_F(LinkTest, UnknownModelDropsTheLinkWithoutReconnecting) {
  plugIn();
  connect();
  amp->sendIdentity('9');
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_DISCONNECTED, 0}, {EVENT_NOT_CONNECTED, 0}}));
  EXPECT_FALSE(link->isConnected());
  EXPECT_EQ(dumpRequests(), 0u);
  // An unknown model does not connect a link that is down either.
  amp->sendIdentity('7');
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_NOT_CONNECTED, 0}}));
}

TEST_F(LinkTest, WhileNotConnectedDumpsChangesAndSettingsAreIgnored) {
  plugIn();
  const PatchData before = link->mirror();
  PatchData other;
  initPatch("Other", other);
  amp->sendRaw(sysex::encodeBulkDump(other));
  amp->turnKnob(1002, 77);
  amp->sendRaw(sysex::encodeSettingChange(2, 3));
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_NOT_CONNECTED, 0}}));
  EXPECT_EQ(link->mirror(), before);
  EXPECT_FALSE(link->edited());
  // Nothing goes out either.
  link->requestDump();
  link->requestSettings();
  link->sendSetting(0, 0);
  link->sendWholePatch();
  settle();
  EXPECT_TRUE(amp->received().empty());
}

TEST_F(LinkTest, VanishedDeviceIsNoticedByCheckPorts) {
  plugIn();
  connect();
  link->checkPorts();  // still there: nothing happens
  EXPECT_TRUE(events.take().empty());
  EXPECT_TRUE(link->isConnected());
  settle();
  EXPECT_EQ(amp->received(), (std::vector<Bytes>{{0xE0, 0x0F, 0x00}}));  // the output probe

  const PatchData mirror = link->mirror();
  amp->vanish();
  link->checkPorts();
  // Event 2 reaches the listener at once, without a tick.
  EXPECT_EQ(events.take(), (std::vector<Event>{{EVENT_DISCONNECTED, 0}}));
  EXPECT_FALSE(link->isConnected());
  EXPECT_EQ(link->modelCode(), 0);
  EXPECT_FALSE(link->port().isInputOpen());
  EXPECT_FALSE(link->port().hasOutput());
  EXPECT_EQ(link->mirror(), mirror);  // what the panel shows is kept
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_NOT_CONNECTED, 0}}));

  // Plugged in again: the ports reopen by name and the same patch gives no event 4.
  ASSERT_EQ(amp->comeBack(), 0);
  link->openPorts(link->port().findInput("ORV10"), link->port().findOutput("ORV10"));
  EXPECT_EQ(identity(), (std::vector<Event>{{EVENT_CONNECTED, '1'}}));
}

TEST_F(LinkTest, PortFailuresRaiseTheirCodes) {
  plugIn();
  EXPECT_EQ(codeOf([&] { link->openPorts(5, 0); }), 200);
  EXPECT_EQ(codeOf([&] { link->openPorts(0, 5); }), 201);
  link->openPorts(0, 0);
  connect();
  amp->vanish();  // gone, but no device-list check yet
  EXPECT_EQ(codeOf([&] { link->requestDump(); }), 202);
  EXPECT_EQ(codeOf([&] { link->sendWholePatch(); }), 202);
}

// --- Changes from the amplifier ---------------------------------------------------------------

TEST_F(LinkTest, KnobOnTheAmplifierIsLookedUpWithTheTypeOfThatMoment) {
  plugIn();
  connect();  // the amplifier's patch has a Spring reverb
  link->setEdited(false);

  amp->turnKnob(1050, 77);  // Spring "Filter" at 194
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_PARAMETER_CHANGED, 1050}}));
  EXPECT_EQ(link->mirror()[194], 77);
  EXPECT_TRUE(link->edited());

  amp->turnKnob(1041, 0);    // reverb type -> Hall
  amp->turnKnob(1042, 150);  // Hall "Time", two bytes at 193
  EXPECT_EQ(tick(),
            (std::vector<Event>{{EVENT_PARAMETER_CHANGED, 1041}, {EVENT_PARAMETER_CHANGED, 1042}}));
  EXPECT_EQ(readValue(link->mirror(), 193, true), 150);

  // A change that alters nothing is not reported.
  link->setEdited(false);
  amp->turnKnob(1042, 150);
  amp->turnKnob(1004, link->mirror()[131]);
  EXPECT_TRUE(tick().empty());
  EXPECT_FALSE(link->edited());
}

TEST_F(LinkTest, ChangesNamingNoParameterAreDropped) {
  plugIn();
  connect();
  const PatchData before = link->mirror();
  amp->sendRaw({0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x02, 0x00, 0x00, 0x05, 0xF7});  // 256
  amp->sendRaw({0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x00, 0x64, 0x00, 0x05, 0xF7});  // 100
  amp->sendRaw({0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x02, 0x01, 0x00, 0x05, 0xF7});  // 257
  EXPECT_TRUE(tick().empty());
  EXPECT_EQ(link->mirror(), before);
  EXPECT_EQ(diagnostics.lines(), (std::vector<std::string>{"Exception caught!", "Exception caught!",
                                                           "Invalid parameter address."}));
}

TEST_F(LinkTest, SettingsGoBothWays) {
  plugIn();
  connect();
  amp->setSetting(AmpSimulator::kUsbVolume, 4);
  link->requestSettings();
  EXPECT_EQ(tick(), (std::vector<Event>{{EVENT_SETTING_REPORTED, 0 * 256 + 1},
                                        {EVENT_SETTING_REPORTED, 1 * 256 + 0},
                                        {EVENT_SETTING_REPORTED, 2 * 256 + 4}}));
  link->sendSetting(sysex::ExtendedStereo, 0);
  settle();
  EXPECT_EQ(amp->settings()[AmpSimulator::kExtendedStereo], 0);
}

TEST_F(LinkTest, WholePatchReachesTheAmplifierSevenBitClean) {
  plugIn();
  connect();
  PatchData p;
  initPatch("Caf\xE9", p);  // a Latin-1 character stays whole in the mirror
  link->setMirror(p);
  link->sendWholePatch();
  settle();
  PatchData expected = p;
  expected[3] = 0x69;
  EXPECT_EQ(amp->patch(), expected);
  EXPECT_EQ(link->mirror()[3], 0xE9);
}

// --- Listeners --------------------------------------------------------------------------------

namespace {
void other(void* context, int32_t code, int32_t value, int32_t r) {
  EventLog::listener(context, code + 100, value, r);
}
}  // namespace

TEST_F(LinkTest, ListenersAreCalledInOrderAndRemovedOnce) {
  link->addListener(&other, &events);
  link->removeListener(&EventLog::listener);
  link->removeListener([](void*, int32_t, int32_t, int32_t) {});  // never added: nothing changes
  link->addListener(&EventLog::listener, &events);
  link->postEvent(EVENT_SETTING_REPORTED, 7);
  link->tick();
  EXPECT_EQ(events.take(),
            (std::vector<Event>{
                {106, 7}, {EVENT_SETTING_REPORTED, 7}, {103, 0}, {EVENT_NOT_CONNECTED, 0}}));
}

// --- With real time ---------------------------------------------------------------------------

TEST(DeviceLinkRealTime, TickThreadDeliversWhatTheAmplifierAnnounces) {
  auto service = std::make_shared<VirtualMidiService>();
  EventLog events;
  const auto ampOwner = connectRealTimeLink(service, events, 100ms);
  AmpSimulator& amp = *ampOwner;
  DeviceLink& link = DeviceLink::instance();
  EXPECT_TRUE(events.waitFor(EVENT_DUMP_RECEIVED, 5s));
  EXPECT_EQ(link.modelCode(), '1');
  EXPECT_EQ(link.mirror(), amp.patch());
  DeviceLink::destroy();  // stops the tick thread and closes the ports
  DeviceLink::setBackendFactory({});
}
