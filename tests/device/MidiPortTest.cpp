#include <gtest/gtest.h>

#include "Recorder.h"
#include "device/MidiPort.h"
#include "device/VirtualMidiBackend.h"

using namespace orv;
using orv::testing::Recorder;
using Bytes = std::vector<uint8_t>;

namespace {

class MidiPortTest : public ::testing::Test {
 protected:
  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  MidiPort port{std::make_unique<VirtualMidiBackend>(service)};
  Recorder received;

  void fromDevice(VirtualMidiService::DeviceId dev, const Bytes& b) {
    ASSERT_EQ(service->sendFromDevice(dev, b.data(), b.size()), 0);
  }
  int openAndStart(int device) {
    const int r = port.openInput(device, received.receiver());
    return r != 0 ? r : port.startInput();
  }
};

}  // namespace

TEST_F(MidiPortTest, ListedNamesFollowTheMinusOneRule) {
  EXPECT_TRUE(port.listInputs().empty());
  EXPECT_EQ(port.findInput("ORV10"), -1);
  EXPECT_EQ(port.findOutput(""), -1);

  service->addDevice("ORV10-1", nullptr);
  service->addDevice("Port-1 Out", nullptr);
  service->addDevice("", nullptr);
  service->addDevice("ORV10", nullptr);
  EXPECT_EQ(port.listInputs(), (std::vector<std::string>{"ORV10", "Port-1 O", "", "ORV10"}));
  EXPECT_EQ(port.listOutputs(), port.listInputs());
  EXPECT_EQ(port.findInput("ORV10"), 0);  // the first match
  EXPECT_EQ(port.findOutput("Port-1 O"), 1);
  EXPECT_EQ(port.findInput("ORV10-1"), -1);
  EXPECT_EQ(port.findInput("orv10"), -1);
  EXPECT_EQ(MidiPort::listedName("-1"), "");
  EXPECT_EQ(MidiPort::listedName("A-12"), "A-");
}

TEST_F(MidiPortTest, InputHandsOnOnlyWhileRunningAndFiltersClockAndSensing) {
  const auto dev = service->addDevice("D", nullptr);
  EXPECT_EQ(port.startInput(), MidiPort::kNoInput);
  ASSERT_EQ(port.openInput(0, received.receiver()), 0);
  EXPECT_TRUE(port.isInputOpen());
  fromDevice(dev, {0x90, 1, 2});  // opened but not started
  service->flush();
  EXPECT_EQ(received.size(), 0u);

  ASSERT_EQ(port.startInput(), 0);
  EXPECT_EQ(port.startInput(), 0);  // already running
  for (int i = 0; i < 10; ++i) {
    fromDevice(dev, {0xFE});
    fromDevice(dev, {0xF8});
  }
  fromDevice(dev, {0xC0, 5});
  fromDevice(dev, {0x90, 0x40, 0x7F});
  service->flush();
  EXPECT_EQ(received.messages(), (std::vector<Bytes>{{0xC0, 5, 0}, {0x90, 0x40, 0x7F}}));

  received.clear();
  EXPECT_EQ(port.closeInput(), 0);
  EXPECT_FALSE(port.isInputOpen());
  fromDevice(dev, {0x90, 1, 2});
  service->flush();
  EXPECT_EQ(received.size(), 0u);
  EXPECT_EQ(port.closeInput(), 0);  // nothing open
}

TEST_F(MidiPortTest, LongSystemExclusiveArrivesInPiecesOf512) {
  const auto dev = service->addDevice("D", nullptr);
  ASSERT_EQ(openAndStart(0), 0);
  Bytes big(1200, 0x11);
  big.front() = 0xF0;
  big.back() = 0xF7;
  fromDevice(dev, big);
  service->flush();
  const auto got = received.messages();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].size(), 512u);
  EXPECT_EQ(got[1].size(), 512u);
  EXPECT_EQ(got[2].size(), 176u);
  EXPECT_EQ(got[0].front(), 0xF0);
  EXPECT_EQ(got[2].back(), 0xF7);
}

TEST_F(MidiPortTest, OpenFailuresAndSendWhileClosed) {
  Recorder atDevice;
  service->addDevice("D", atDevice.receiver());
  EXPECT_NE(port.openInput(3, received.receiver()), 0);
  EXPECT_FALSE(port.isInputOpen());
  EXPECT_NE(port.openOutput(3), 0);
  EXPECT_FALSE(port.hasOutput());

  const Bytes m{0xF0, 0x43, 0xF7};
  EXPECT_EQ(port.send(m), 0);  // closed: success, nothing sent
  ASSERT_EQ(port.openOutput(0), 0);
  EXPECT_EQ(port.send(m), 0);
  service->flush();
  EXPECT_EQ(atDevice.messages(), std::vector<Bytes>{m});
}

TEST_F(MidiPortTest, CheckPortsKeepsPresentPortsAndProbesTheOutput) {
  Recorder atDevice;
  service->addDevice("D", atDevice.receiver());
  ASSERT_EQ(openAndStart(0), 0);
  ASSERT_EQ(port.openOutput(0), 0);
  port.setOutputOpen(true);
  port.checkPorts();
  EXPECT_TRUE(port.isInputOpen());
  EXPECT_TRUE(port.hasOutput());
  service->flush();
  EXPECT_EQ(atDevice.messages(), (std::vector<Bytes>{{0xE0, 0x0F, 0x00}}));
}

TEST_F(MidiPortTest, CheckPortsClosesPortsOfAVanishedDevice) {
  const auto dev = service->addDevice("D", nullptr);
  ASSERT_EQ(openAndStart(0), 0);
  ASSERT_EQ(port.openOutput(0), 0);
  port.setOutputOpen(true);
  service->removeDevice(dev);
  port.checkPorts();
  EXPECT_FALSE(port.isInputOpen());
  EXPECT_FALSE(port.hasOutput());
  EXPECT_FALSE(port.isOutputOpen());
  EXPECT_EQ(port.send(Bytes{0xF0, 0xF7}), 0);
}

TEST_F(MidiPortTest, InputGoesEvenWhenAnOutputOfThatNameIsStillListed) {
  const auto in = service->addDevice("ORV10", nullptr, {true, false});
  service->addDevice("ORV10", nullptr, {false, true});
  ASSERT_EQ(openAndStart(port.findInput("ORV10")), 0);
  ASSERT_EQ(port.openOutput(port.findOutput("ORV10")), 0);
  port.setOutputOpen(true);
  service->removeDevice(in);
  port.checkPorts();
  EXPECT_FALSE(port.isInputOpen());
  EXPECT_TRUE(port.hasOutput());
}

TEST_F(MidiPortTest, UnstartedInputIsNotChecked) {
  const auto dev = service->addDevice("D", nullptr);
  ASSERT_EQ(port.openInput(0, received.receiver()), 0);
  ASSERT_EQ(port.openOutput(0), 0);  // output-open flag not set
  service->removeDevice(dev);
  port.checkPorts();
  EXPECT_TRUE(port.isInputOpen());
  EXPECT_TRUE(port.hasOutput());
}
