#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "device/DeviceLink.h"
#include "device/SysexCodec.h"
#include "device/VirtualMidiBackend.h"
#include "patch/GenericException.h"
#include "patch/PatchData.h"
#include "sim/AmpSimulator.h"
#include "sim/VirtualAmpTransport.h"
#include "support/FailureOf.h"

namespace orv::testing {

// The computer's end of the virtual service, which can be told to fail from its n-th send on (as
// a port whose device went away between two messages). Counts every send it is handed.
class FailingBackend : public MidiBackend {
 public:
  explicit FailingBackend(std::shared_ptr<VirtualMidiService> service) : inner_(service) {}

  std::vector<std::string> inputDevices() override { return inner_.inputDevices(); }
  std::vector<std::string> outputDevices() override { return inner_.outputDevices(); }
  int openInput(int device, Receiver receiver) override {
    return inner_.openInput(device, std::move(receiver));
  }
  void closeInput() override { inner_.closeInput(); }
  std::string openInputName() override { return inner_.openInputName(); }
  int openOutput(int device) override { return inner_.openOutput(device); }
  void closeOutput() override { inner_.closeOutput(); }
  std::string openOutputName() override { return inner_.openOutputName(); }
  int send(const uint8_t* bytes, std::size_t length) override {
    const int n = ++sends_;
    if (failFrom_ != 0 && n >= failFrom_) return kError;
    return inner_.send(bytes, length);
  }

  static constexpr int kError = 6;
  // 0: never fail. Otherwise the n-th send from now (1 = the next) and every later one fail.
  void failFrom(int n) { failFrom_ = n == 0 ? 0 : sends_.load() + n; }
  int sends() const { return sends_; }

 private:
  VirtualMidiBackend inner_;
  std::atomic<int> sends_{0};
  std::atomic<int> failFrom_{0};
};

// A device link with its ports open on a simulated amplifier over an in-process MIDI service.
// Nothing is connected until connect(); ticks are driven by hand, so the link never drops.
class LinkedSimulator : public ::testing::Test {
 protected:
  using Bytes = std::vector<uint8_t>;

  std::shared_ptr<VirtualMidiService> service = std::make_shared<VirtualMidiService>();
  std::unique_ptr<AmpSimulator> sim;
  DeviceLink* link = nullptr;
  FailingBackend* backend = nullptr;  // owned by the link's port

  void SetUp() override {
    DeviceLink::setBackendFactory([this] {
      auto b = std::make_unique<FailingBackend>(service);
      backend = b.get();
      return b;
    });
    link = &DeviceLink::instance();
    link->setClockForTesting(
        [] { return DeviceLink::Clock::time_point(std::chrono::seconds(1000)); });
    sim = std::make_unique<AmpSimulator>(std::make_unique<VirtualAmpTransport>(service));
    sim->setSilent(true);
    ASSERT_EQ(sim->start(), 0);
    link->openPorts(0, 0);
  }

  void TearDown() override {
    DeviceLink::destroy();
    DeviceLink::setBackendFactory({});
    sim.reset();
  }

  // The amplifier identifies itself while holding `patch`; its dump fills the mirror. Afterwards
  // the mirror equals `patch`, `edited` is clear and the amplifier's log is empty.
  void connect(const PatchData& patch) {
    sim->setPatch(patch);
    ASSERT_EQ(sim->sendIdentity(), 0);
    service->flush();
    ASSERT_TRUE(link->isConnected());
    ASSERT_EQ(link->mirror(), patch);
    link->setEdited(false);
    sim->clearReceived();
  }

  // The Init patch with the given bytes changed.
  static PatchData initWith(std::initializer_list<std::pair<int, uint8_t>> bytes) {
    PatchData p;
    initPatch(std::nullopt, p);
    for (auto [offset, value] : bytes) p[static_cast<std::size_t>(offset)] = value;
    return p;
  }

  // What the amplifier has received so far.
  std::vector<Bytes> wire() {
    service->flush();
    return sim->received();
  }

  // Forgets what the amplifier has received so far.
  void forget() {
    service->flush();
    sim->clearReceived();
  }

  static Bytes change(int offset, uint8_t d1, uint8_t d2) {
    return sysex::encodeParameterChange(offset, d1, d2);
  }
};

}  // namespace orv::testing
