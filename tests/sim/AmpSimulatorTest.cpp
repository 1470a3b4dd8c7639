#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <stdexcept>

#include "device/SysexCodec.h"
#include "device/VirtualMidiBackend.h"
#include "patch/GenericException.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"

using namespace orv;
using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

namespace {

// The computer's side: a backend connected to the simulator, collecting what it sends.
class AmpSimulatorTest : public ::testing::Test {
 protected:
  // Declared so that the computer's end goes first: its receiver uses `mutex` and `fromAmp`.
  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  mutable std::mutex mutex;
  std::vector<Bytes> fromAmp;
  std::unique_ptr<AmpSimulator> sim;
  VirtualMidiBackend computer{service};

  // Silent unless told otherwise, so that only what a test asks for arrives.
  void startSim(AmpSimulator::Options options = {}, bool silent = true) {
    sim = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service), options);
    sim->setSilent(silent);
    ASSERT_EQ(sim->start(), 0);
    connect();
  }
  void connect() {
    ASSERT_EQ(computer.openInput(0,
                                 [this](const uint8_t* b, std::size_t n) {
                                   std::lock_guard lock(mutex);
                                   fromAmp.emplace_back(b, b + n);
                                 }),
              0);
    ASSERT_EQ(computer.openOutput(0), 0);
  }
  void toAmp(const Bytes& m) {
    ASSERT_EQ(computer.send(m.data(), m.size()), 0);
    service->flush();
  }
  std::vector<Bytes> received() {
    service->flush();
    std::lock_guard lock(mutex);
    return fromAmp;
  }
  void forget() {
    service->flush();
    std::lock_guard lock(mutex);
    fromAmp.clear();
  }
};

}  // namespace

TEST_F(AmpSimulatorTest, AppearsUnderItsNameAndAnnouncesItsModel) {
  AmpSimulator::Options o;
  o.name = "ORV30";
  o.model = '3';
  o.identityPeriod = 20ms;
  startSim(o, false);
  EXPECT_EQ(computer.inputDevices(), std::vector<std::string>{"ORV30"});
  EXPECT_EQ(computer.outputDevices(), std::vector<std::string>{"ORV30"});
  std::this_thread::sleep_for(150ms);
  const auto got = received();
  ASSERT_GE(got.size(), 3u);
  for (const auto& m : got) {
    const auto c = sysex::classify(m.data(), m.size());
    ASSERT_TRUE(std::holds_alternative<sysex::Identity>(c));
    EXPECT_EQ(std::get<sysex::Identity>(c).model, '3');
  }

  sim->setSilent(true);
  forget();
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(received().empty());

  sim->setModel('2');
  sim->sendIdentity();
  sim->sendIdentity('9');
  const auto two = received();
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0][7], '2');
  EXPECT_EQ(two[1][7], '9');
}

TEST_F(AmpSimulatorTest, RefusesBadOptions) {
  auto make = [this](AmpSimulator::Options o) {
    AmpSimulator s(std::make_unique<VirtualAmpTransport>(service), o);
  };
  AmpSimulator::Options o;
  o.model = '5';
  EXPECT_THROW(make(o), std::invalid_argument);
  o = {};
  o.name = "";
  EXPECT_THROW(make(o), std::invalid_argument);
  o = {};
  o.identityPeriod = 0ms;
  EXPECT_THROW(make(o), std::invalid_argument);
  startSim();
  EXPECT_THROW(sim->setModel('x'), std::invalid_argument);
  EXPECT_THROW(sim->turnKnob(1002, 128), std::invalid_argument);
  EXPECT_THROW(sim->turnKnob(1035, 16384), std::invalid_argument);
  EXPECT_THROW(sim->turnKnob(999, 1), CGenericException);
  EXPECT_EQ(sim->model(), '1');
}

TEST_F(AmpSimulatorTest, AnswersRequests) {
  startSim();
  forget();
  toAmp(sysex::encodeDumpRequest());
  auto got = received();
  ASSERT_EQ(got.size(), 1u);
  const auto dump = sysex::classify(got[0].data(), got[0].size());
  ASSERT_TRUE(std::holds_alternative<sysex::BulkDump>(dump));
  EXPECT_EQ(std::get<sysex::BulkDump>(dump).data, AmpSimulator::defaultPatch());

  forget();
  sim->setSetting(AmpSimulator::kUsbVolume, 4);
  toAmp(sysex::encodeSettingsRequest());
  got = received();
  ASSERT_EQ(got.size(), 3u);
  for (int n = 0; n < 3; ++n) {
    const auto s = sysex::classify(got[n].data(), got[n].size());
    ASSERT_TRUE(std::holds_alternative<sysex::SettingReport>(s));
    EXPECT_EQ(std::get<sysex::SettingReport>(s).value / 256, n);
  }
  EXPECT_EQ(std::get<sysex::SettingReport>(sysex::classify(got[2].data(), 9)).value, 2 * 256 + 4);

  // Messages that are not requests get no answer.
  forget();
  toAmp({0xF0, 0x43, 0x7D, 0x20, 'V', 'K', 'R', '1', 'A', 'l', 'l', 'X', 0xF7});
  toAmp({0xE0, 0x0F, 0x00});
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(sim->received().size(), 4u);  // dump request, settings request, two others
}

TEST_F(AmpSimulatorTest, AppliesWhatItReceives) {
  startSim();
  PatchData expected = sim->patch();

  toAmp(sysex::encodeParameterChange(131, 0, 77));  // one-byte: D2 only
  expected[131] = 77;
  toAmp(sysex::encodeParameterChange(177, 2, 44));  // two-byte delay time: both bytes
  expected[177] = 2;
  expected[178] = 44;
  toAmp(sysex::encodeParameterChange(4, 0, 'z'));  // a name character
  expected[4] = 'z';
  toAmp(sysex::encodeParameterChange(100, 5, 5));  // unused byte: ignored
  EXPECT_EQ(sim->patch(), expected);

  toAmp(sysex::encodeSettingChange(sysex::PowerLamp, 1));
  toAmp(sysex::encodeSettingChange(7, 1));  // no such setting
  EXPECT_EQ(sim->settings()[AmpSimulator::kPowerLamp], 1);

  PatchData other;
  initPatch("Other", other);
  Bytes bad = sysex::encodeBulkDump(other);
  bad[274] ^= 1;
  toAmp(bad);
  EXPECT_EQ(sim->patch(), expected);
  toAmp(sysex::encodeBulkDump(other));
  EXPECT_EQ(sim->patch(), other);
}

TEST_F(AmpSimulatorTest, TurnsItsOwnKnobs) {
  startSim();
  forget();
  sim->turnKnob(1003, 99);   // master, one byte
  sim->turnKnob(1035, 300);  // delay time, two bytes
  const auto got = received();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x01, 0x02, 0x00, 99, 0xF7}));
  EXPECT_EQ(got[1], (Bytes{0xF0, 0x43, 0x7D, 0x10, 0x41, 0x30, 0x01, 0x31, 0x02, 0x2C, 0xF7}));
  EXPECT_EQ(sim->patch()[130], 99);
  EXPECT_EQ(readValue(sim->patch(), 177, true), 300);
}

TEST_F(AmpSimulatorTest, VanishesAndComesBack) {
  startSim();
  sim->vanish();
  EXPECT_FALSE(sim->present());
  EXPECT_TRUE(computer.inputDevices().empty());
  EXPECT_EQ(computer.openInputName(), "");
  EXPECT_NE(sim->sendIdentity(), 0);
  EXPECT_NE(computer.send(Bytes{0xF0, 0xF7}.data(), 2), 0);

  ASSERT_EQ(sim->comeBack(), 0);
  EXPECT_EQ(computer.inputDevices(), std::vector<std::string>{"ORV10"});
  connect();
  forget();
  sim->sendIdentity();
  EXPECT_EQ(received().size(), 1u);
  sim->stop();
  EXPECT_TRUE(computer.inputDevices().empty());
}

TEST_F(AmpSimulatorTest, WaitsForWhatItExpects) {
  startSim();
  EXPECT_FALSE(sim->waitForReceived([](const auto& log) { return !log.empty(); }, 20ms));
  std::thread later([this] {
    std::this_thread::sleep_for(10ms);
    const Bytes m = sysex::encodeDumpRequest();
    computer.send(m.data(), m.size());
  });
  EXPECT_TRUE(sim->waitForReceived(
      [](const auto& log) { return !log.empty() && AmpSimulator::isDumpRequest(log.back()); }, 5s));
  later.join();
}

TEST_F(AmpSimulatorTest, TypeChangesSentByTheEditorLeaveTheNewTypesValues) {
  startSim();
  PatchData start = sim->patch();
  start[patch::kCompType] = patch::Stomp;
  start[145] = 40;
  start[146] = 50;
  sim->setPatch(start);

  // The editor's order for Stomp -> Rack: the Rack values first, then the type byte.
  toAmp(sysex::encodeParameterChange(145, 0, 0));
  for (int offset : {147, 148, 149, 150}) toAmp(sysex::encodeParameterChange(offset, 0, 0));
  toAmp(sysex::encodeParameterChange(151, 0, 0));
  toAmp(sysex::encodeParameterChange(patch::kCompType, 0, patch::Rack));

  const PatchData now = sim->patch();
  EXPECT_EQ(now[patch::kCompType], patch::Rack);
  for (int offset = 145; offset <= 152; ++offset) EXPECT_EQ(now[offset], 0) << offset;

  // A Rack value arriving while the simulator still holds another type is stored all the same.
  toAmp(sysex::encodeParameterChange(patch::kCompType, 0, patch::Stomp));
  toAmp(sysex::encodeParameterChange(149, 0, 3));
  EXPECT_EQ(sim->patch()[149], 3);
}
