#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::rtmidi {

enum class Dir { In = 0, Out = 1 };

// One open connection to a MIDI service, with the editor's own input and output port on it.
// RtMidiBackend puts the device lists, the naming rule and the port bookkeeping on top.
// ports()/connect()/disconnect() of one direction are called under that direction's lock;
// send() and stillConnected() may come from any thread, also the service's own.
class MidiService {
 public:
  // Receives every incoming message as the service hands it over, on the service's thread.
  using Sink = std::function<void(const uint8_t* bytes, std::size_t length)>;

  virtual ~MidiService() = default;
  // Full names of the ports of the other direction our port of direction `d` can be joined to,
  // in the service's order.
  virtual std::vector<std::string> ports(Dir d) = 0;
  // The other names the service knows the port `full` by (JACK's port aliases); none by default.
  virtual std::vector<std::string> aliases(Dir, const std::string&) { return {}; }
  // The name the service gave this connection's own client.
  virtual std::string clientName() const = 0;
  // Joins our port of direction `d` to the service port listed at `index` as `full`.
  // 0 or an RtMidiBackend error number.
  virtual int connect(Dir d, unsigned index, const std::string& full) = 0;
  virtual void disconnect(Dir d) = 0;
  // False once the service knows the connection of direction `d` was lost. Cheap.
  virtual bool stillConnected(Dir d) = 0;
  // Hands a message over and returns at once: 0 or an RtMidiBackend error number.
  virtual int send(const uint8_t* bytes, std::size_t length) = 0;
  // False once the service itself has gone (e.g. the JACK server stopped).
  virtual bool alive() const = 0;
};

}  // namespace orv::rtmidi
