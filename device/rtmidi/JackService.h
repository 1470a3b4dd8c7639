#pragma once
#include <memory>
#include <string>

#include "device/rtmidi/JackClient.h"
#include "device/rtmidi/MidiService.h"

namespace orv::rtmidi {

// The editor on JACK: one client (named as asked, or "name-NN" when taken) with the ports "in"
// and "out", driven through libjack directly, so that sends never wait (RtMidi's JACK output
// spins while its buffer is full) and lost connections are seen.
class JackService final : public MidiService {
 public:
  // Throws std::runtime_error when no server answers.
  JackService(const std::string& clientName, Sink sink);

  std::vector<std::string> ports(Dir d) override;
  std::vector<std::string> aliases(Dir d, const std::string& full) override;
  std::string clientName() const override;
  int connect(Dir d, unsigned index, const std::string& full) override;
  void disconnect(Dir d) override;
  bool stillConnected(Dir d) override;
  int send(const uint8_t* bytes, std::size_t length) override;
  bool alive() const override;

 private:
  static JackClient::Dir side(Dir d) { return d == Dir::In ? JackClient::In : JackClient::Out; }
  JackClient client_;
};

}  // namespace orv::rtmidi
