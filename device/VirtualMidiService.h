#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orv {

// An in-process MIDI service: named devices that appear and disappear at runtime, each with an
// input side (what the device sends, read by the computer) and an output side (what the
// computer sends to the device). Like a real MIDI service it delivers every message on a thread
// of its own, in the order the messages were sent.
//
// A device's own end (a simulated amplifier) is addDevice/removeDevice/sendFromDevice; the
// computer's end (VirtualMidiBackend) is the device lists, connectInput and sendToDevice.
//
// One service is shared by the process (shared()); tests make their own so nothing leaks from
// one test into the next.
class VirtualMidiService {
 public:
  using Receiver = std::function<void(const uint8_t* bytes, std::size_t length)>;
  using DeviceId = uint64_t;      // 0 = none; never reused
  using ConnectionId = uint64_t;  // 0 = none; never reused

  // Error numbers.
  static constexpr int kNoSuchDevice = 2;
  static constexpr int kInvalidMessage = 11;

  struct Sides {
    bool input = true;
    bool output = true;
  };

  VirtualMidiService();
  ~VirtualMidiService();  // stops the delivery thread; undelivered messages are dropped
  VirtualMidiService(const VirtualMidiService&) = delete;
  VirtualMidiService& operator=(const VirtualMidiService&) = delete;

  static std::shared_ptr<VirtualMidiService> shared();

  // The device's end. `fromComputer` receives what computers send to the device's output side.
  DeviceId addDevice(std::string name, Receiver fromComputer, Sides sides);
  DeviceId addDevice(std::string name, Receiver fromComputer) {
    return addDevice(std::move(name), std::move(fromComputer), Sides{true, true});
  }
  // The device disappears from both lists; its connections end. After this returns its receiver
  // is never called again (unless called from within a delivery, which then completes).
  void removeDevice(DeviceId device);
  // Delivered to every input connected to the device. Error when the device or its input side
  // is gone.
  int sendFromDevice(DeviceId device, const uint8_t* bytes, std::size_t length);

  // The computer's end. Lists hold device ids in the order the devices appeared.
  std::vector<DeviceId> inputs() const;
  std::vector<DeviceId> outputs() const;
  std::string nameOf(DeviceId device) const;  // empty when the device is gone
  bool exists(DeviceId device) const;
  // Connects a receiver to a device's input side; 0 when there is no such input.
  ConnectionId connectInput(DeviceId device, Receiver receiver);
  // After this returns the receiver is never called again (same proviso as removeDevice).
  void disconnectInput(ConnectionId connection);
  bool isConnected(ConnectionId connection) const;
  int sendToDevice(DeviceId device, const uint8_t* bytes, std::size_t length);

  // Waits until every message sent so far, and every message sent while delivering them, has
  // been delivered. Must not be called from a receiver.
  void flush();
  // True on the delivery thread (used to avoid waiting for oneself).
  bool onDeliveryThread() const;

 private:
  struct Device {
    std::string name;
    Sides sides;
    std::shared_ptr<Receiver> fromComputer;
  };
  struct Connection {
    DeviceId device;
    std::shared_ptr<Receiver> receiver;
  };
  struct Delivery {
    bool toDevice;  // true: to the device's own end; false: to the inputs connected to it
    DeviceId device;
    std::vector<uint8_t> bytes;
  };

  void run();
  void deliver(std::unique_lock<std::mutex>& lock, Delivery d);
  void waitForDeliveryLocked(std::unique_lock<std::mutex>& lock);
  int enqueue(bool toDevice, DeviceId device, const uint8_t* bytes, std::size_t length);

  mutable std::mutex mutex_;
  std::condition_variable wake_;  // new work or stop
  std::condition_variable idle_;  // a delivery finished
  std::deque<Delivery> queue_;
  std::map<DeviceId, Device> devices_;  // ids grow, so map order is the order of appearance
  std::map<ConnectionId, Connection> connections_;
  uint64_t nextId_ = 1;
  bool delivering_ = false;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace orv
