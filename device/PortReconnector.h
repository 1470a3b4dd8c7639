#pragma once
#include <cstdint>
#include <mutex>
#include <string>

namespace orv {

class DeviceLink;

// Keeps the configured MIDI ports open, so that an amplifier that was unplugged and plugged in
// again is found without a restart. It holds the main window's "ports open" flag:
//  - set after the ports were opened by name;
//  - cleared by event 2 (the link dropped: the amplifier went silent or its input port went
//    away), since the ports may then belong to a device that is no longer there;
//  - event 3 (every tick while nothing is connected) opens the ports by the configured names
//    again while the flag is clear, swallowing every failure, so the attempt repeats each tick
//    until the amplifier is back.
// Opening by name finds the input name among the input devices and the output name among the
// output devices (MidiPort's Find by name); when either is missing nothing is opened or closed.
//
// Threads: meant for the main window's thread (device events arrive there posted); guarded so
// tests may call it from elsewhere.
class PortReconnector {
 public:
  explicit PortReconnector(DeviceLink& link);

  void setPortNames(std::string input, std::string output);
  // Hands over one device event (code and value as the link reports them).
  void onDeviceEvent(int32_t code);
  // Opens the ports by the configured names now. Returns false when a name is not listed;
  // throws CGenericException 200 / 201 when opening fails (202 when the repeated Dump Request
  // below cannot be sent). When the link got connected while the ports were being opened, the
  // Dump Request is sent again (see the .cpp).
  bool openConfigured();
  bool portsOpen() const;
  // How many times the ports were opened.
  int opened() const;

 private:
  DeviceLink& link_;
  mutable std::mutex mutex_;
  std::string input_;
  std::string output_;
  bool portsOpen_ = false;
  int opened_ = 0;
};

}  // namespace orv
