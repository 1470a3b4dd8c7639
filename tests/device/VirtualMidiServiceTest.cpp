#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "Recorder.h"
#include "device/VirtualMidiBackend.h"
#include "device/VirtualMidiService.h"

using namespace orv;
using orv::testing::Recorder;
using Bytes = std::vector<uint8_t>;

namespace {

int sendBytes(VirtualMidiBackend& backend, const Bytes& b) {
  return backend.send(b.data(), b.size());
}

}  // namespace

TEST(VirtualMidiService, DevicesComeAndGoAndNumbersFollowTheLists) {
  auto service = std::make_shared<VirtualMidiService>();
  VirtualMidiBackend backend(service);
  EXPECT_TRUE(backend.inputDevices().empty());

  const auto a = service->addDevice("A", nullptr);
  const auto b = service->addDevice("B", nullptr, {false, true});  // output only
  const auto c = service->addDevice("C", nullptr, {true, false});  // input only
  EXPECT_EQ(backend.inputDevices(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(backend.outputDevices(), (std::vector<std::string>{"A", "B"}));

  service->removeDevice(a);
  EXPECT_EQ(backend.inputDevices(), (std::vector<std::string>{"C"}));
  EXPECT_EQ(backend.outputDevices(), (std::vector<std::string>{"B"}));
  const auto a2 = service->addDevice("A", nullptr);
  EXPECT_NE(a2, a);  // a device that comes back is a new device
  EXPECT_EQ(backend.inputDevices(), (std::vector<std::string>{"C", "A"}));
  EXPECT_FALSE(service->exists(a));
  EXPECT_TRUE(service->exists(b) && service->exists(c));

  EXPECT_NE(backend.openInput(2, nullptr), 0);
  EXPECT_NE(backend.openOutput(-1), 0);
}

TEST(VirtualMidiService, DeliversInOrderOnItsOwnThread) {
  auto service = std::make_shared<VirtualMidiService>();
  Recorder atDevice, atComputer;
  const auto dev = service->addDevice("D", atDevice.receiver());
  VirtualMidiBackend backend(service);
  ASSERT_EQ(backend.openInput(0, atComputer.receiver()), 0);
  ASSERT_EQ(backend.openOutput(0), 0);

  for (uint8_t i = 0; i < 50; ++i) {
    ASSERT_EQ(sendBytes(backend, {0x90, i, 1}), 0);
    const Bytes fromDevice{0x80, i, 0};
    ASSERT_EQ(service->sendFromDevice(dev, fromDevice.data(), fromDevice.size()), 0);
  }
  service->flush();
  ASSERT_EQ(atDevice.size(), 50u);
  ASSERT_EQ(atComputer.size(), 50u);
  for (uint8_t i = 0; i < 50; ++i) {
    EXPECT_EQ(atDevice.messages()[i], (Bytes{0x90, i, 1}));
    EXPECT_EQ(atComputer.messages()[i], (Bytes{0x80, i, 0}));
  }
  for (const auto& t : atComputer.threads()) EXPECT_NE(t, std::this_thread::get_id());
  EXPECT_EQ(backend.openInputName(), "D");
  EXPECT_EQ(backend.openOutputName(), "D");
}

TEST(VirtualMidiService, FlushWaitsForRepliesSentWhileDelivering) {
  auto service = std::make_shared<VirtualMidiService>();
  VirtualMidiService::DeviceId dev = 0;
  std::atomic<int> hops{0};
  // An echoing device: each message comes back with its first data byte one lower.
  dev = service->addDevice("Echo", [&](const uint8_t* b, std::size_t n) {
    ++hops;
    if (b[1] > 0) {
      const Bytes reply{b[0], uint8_t(b[1] - 1), b[2]};
      service->sendFromDevice(dev, reply.data(), reply.size());
    }
    (void)n;
  });
  VirtualMidiBackend backend(service);
  backend.openOutput(0);
  // The computer answers every echo by sending it back to the device.
  backend.openInput(0, [&](const uint8_t* b, std::size_t n) { backend.send(b, n); });
  sendBytes(backend, {0x90, 20, 1});
  service->flush();
  EXPECT_EQ(hops.load(), 21);
}

TEST(VirtualMidiService, NoCallAfterRemovalOrClose) {
  auto service = std::make_shared<VirtualMidiService>();
  std::atomic<int> calls{0};
  std::atomic<bool> closed{false};
  std::atomic<int> callsAfterClose{0};
  const auto dev = service->addDevice("Slow", nullptr);
  VirtualMidiBackend backend(service);
  backend.openInput(0, [&](const uint8_t*, std::size_t) {
    ++calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (closed) ++callsAfterClose;
  });
  const Bytes m{0xF0, 1, 0xF7};
  for (int i = 0; i < 20; ++i) service->sendFromDevice(dev, m.data(), m.size());
  while (calls == 0) std::this_thread::yield();
  backend.closeInput();
  closed = true;
  service->flush();
  EXPECT_EQ(callsAfterClose.load(), 0);
  EXPECT_LT(calls.load(), 20);
  EXPECT_EQ(backend.openInputName(), "");
}

TEST(VirtualMidiService, VanishedDeviceRefusesSendsAndLosesItsName) {
  auto service = std::make_shared<VirtualMidiService>();
  Recorder atDevice;
  const auto dev = service->addDevice("Gone", atDevice.receiver());
  VirtualMidiBackend backend(service);
  ASSERT_EQ(backend.openInput(0, nullptr), 0);
  ASSERT_EQ(backend.openOutput(0), 0);
  service->removeDevice(dev);
  EXPECT_NE(sendBytes(backend, {0xF0, 0xF7}), 0);
  EXPECT_EQ(backend.openInputName(), "");
  EXPECT_EQ(backend.openOutputName(), "");
  // A device of the same name that comes back is not the open one.
  service->addDevice("Gone", nullptr);
  EXPECT_EQ(backend.openInputName(), "");
  EXPECT_NE(sendBytes(backend, {0xF0, 0xF7}), 0);
  backend.closeOutput();
  EXPECT_EQ(sendBytes(backend, {0xF0, 0xF7}), 0);  // nothing open: nothing sent
  service->flush();
  EXPECT_EQ(atDevice.size(), 0u);
}

TEST(VirtualMidiService, RemovingADeviceFromItsOwnReceiverDoesNotHang) {
  auto service = std::make_shared<VirtualMidiService>();
  VirtualMidiService::DeviceId dev = 0;
  dev =
      service->addDevice("Self", [&](const uint8_t*, std::size_t) { service->removeDevice(dev); });
  VirtualMidiBackend backend(service);
  backend.openOutput(0);
  sendBytes(backend, {0xF0, 0xF7});
  service->flush();
  EXPECT_FALSE(service->exists(dev));
}

TEST(VirtualMidiService, ServicesAreIndependent) {
  auto one = std::make_shared<VirtualMidiService>();
  auto two = std::make_shared<VirtualMidiService>();
  one->addDevice("Only here", nullptr);
  EXPECT_EQ(VirtualMidiBackend(one).inputDevices().size(), 1u);
  EXPECT_TRUE(VirtualMidiBackend(two).inputDevices().empty());
}
