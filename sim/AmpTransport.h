#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace orv {

// The amplifier's own end of a MIDI connection: a named pair of ports that the computer sees as
// one MIDI device. The simulator runs over the in-process virtual MIDI service
// (VirtualAmpTransport) or over a real MIDI service's virtual ports.
class AmpTransport {
 public:
  using Receiver = std::function<void(const uint8_t* bytes, std::size_t length)>;

  virtual ~AmpTransport() = default;

  // Makes the ports appear under `name`; what the computer sends to them goes to `receiver`, on
  // the transport's own thread. Closes any open ports first. Returns 0 or an error number.
  virtual int open(const std::string& name, Receiver receiver) = 0;
  // Makes the ports disappear. After this returns the receiver is not called again.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Sends one complete message to the computer; an error number when the ports are closed.
  virtual int send(const uint8_t* bytes, std::size_t length) = 0;
};

}  // namespace orv
