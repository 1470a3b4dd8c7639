#pragma once
#include <jack/jack.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "device/rtmidi/MessageQueue.h"

namespace orv::rtmidi {

// The short names of the two ports and optional aliases (a device presented the way a
// bridge to the machine's MIDI hardware shows it).
struct JackPortNames {
  std::string in = "in";
  std::string out = "out";
  std::string inAlias;
  std::string outAlias;
};

// One JACK client with one MIDI input port "in" and one MIDI output port "out".
//  - Received events go to the sink on JACK's process thread, one event per call (copied out of
//    JACK's buffer, whatever their length).
//  - send() queues a message in a ring buffer and returns at once; the process callback moves
//    the queue into the output port every cycle. A full queue is refused, never waited for. A
//    message that can never fit into the port's buffer is refused (see fits()); should one get
//    into the queue all the same, it is dropped and counted rather than block what follows.
//  - connect() joins one of our ports to another client's port and returns once the connection
//    carries data (JACK applies graph changes at the start of a cycle, so a message sent right
//    after jack_connect() could otherwise fall into the old graph).
//  - A connection that disappears (the other client left) is noticed by the process callback,
//    which sees the graph of each cycle, so dropped() is a cheap check.
// All operations may be called from any thread except the process thread (send() excepted).
//
// A server that goes away: libjack, when any client of this process is opened after a server
// went away, closes and frees every client of the process it still holds, and the handles kept
// here would dangle. So every client is registered, and openJackClient() calls
// beforeOpen(): once a server went away, it closes every registered client in good order first
// (they count as gone from then on, like a client whose server stopped).
class JackClient {
 public:
  enum Dir { In = 0, Out = 1 };
  using Sink = std::function<void(const uint8_t* bytes, std::size_t length)>;

  static constexpr std::size_t kQueueBytes = 1 << 16;

  using PortNames = JackPortNames;

  // Throws std::runtime_error with a message fit for the user. With `exactName` a taken name is
  // refused; otherwise JACK may hand out "name-01".
  JackClient(const std::string& name, bool exactName, Sink sink, const PortNames& ports = {});
  ~JackClient();
  JackClient(const JackClient&) = delete;
  JackClient& operator=(const JackClient&) = delete;

  // The name JACK gave this client.
  const std::string& name() const { return name_; }
  bool alive() const { return alive_.load(); }

  // The full names of the other clients' MIDI ports our port of direction `d` can be joined to:
  // for In their outputs, for Out their inputs. Ours are included; the caller filters by name.
  std::vector<std::string> ports(Dir d);
  // Joins our port of direction `d` to `full` alone; false when JACK refuses or the connection
  // does not carry data within `timeoutMs`.
  bool connect(Dir d, const std::string& full, int timeoutMs = 500);
  void disconnect(Dir d);
  // Whether our port of direction `d` is joined to `full` in JACK's graph now.
  bool connectedTo(Dir d, const std::string& full);
  // True once a connection of our port of direction `d` went away after the last connect().
  bool dropped(Dir d) const { return dropped_[d].load(); }

  // The aliases of the port named `full` (none when it has gone).
  std::vector<std::string> aliases(const std::string& full);

  // Whether a message of `length` bytes fits into the output port's buffer at all. Until the
  // first cycle has measured it, every length is taken as fitting.
  bool fits(std::size_t length) const;
  bool send(const uint8_t* bytes, std::size_t length);
  // Queued messages dropped because they did not fit into an empty port buffer.
  uint64_t oversizedDropped() const { return oversized_.load(); }

  // Around every jack_client_open of this process (see above); afterOpen() once one succeeded.
  static void beforeOpen();
  static void afterOpen();

 private:
  static int process(jack_nframes_t frames, void* self);
  static void onShutdown(void* self);
  void receiveAll(jack_nframes_t frames);
  void flushQueue(jack_nframes_t frames);
  void release();

  Sink sink_;
  std::mutex clientMutex_;  // guards client_ against release() from beforeOpen() on another thread
  jack_client_t* client_ = nullptr;
  std::array<jack_port_t*, 2> ports_{};
  MessageQueue queue_{kQueueBytes};
  std::string name_;
  std::mutex sendMutex_;  // one writer at a time into the ring buffer
  std::atomic<bool> alive_{true};
  std::atomic<uint64_t> cycles_{0};
  std::atomic<std::size_t> largestEvent_{0};  // of an empty output buffer; 0 until measured
  std::atomic<uint64_t> oversized_{0};
  std::vector<uint8_t> received_;  // the process thread's copy of one received event
  std::array<std::atomic<int>, 2> liveConnections_{};  // as the process thread last saw them
  std::array<std::atomic<bool>, 2> watching_{};        // a connection made by connect() stands
  std::array<std::atomic<bool>, 2> dropped_{};
};

}  // namespace orv::rtmidi
