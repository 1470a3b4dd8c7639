#pragma once
#include <memory>
#include <mutex>
#include <string>

#include "device/rtmidi/MidiService.h"

class RtMidiIn;
class RtMidiOut;

namespace orv::rtmidi {

// The editor on the ALSA sequencer through RtMidi: an input and an output client named as asked
// (ALSA never renames), each with one port while open. ALSA's output is opened non-blocking,
// so a full queue is an error, not a wait.
class AlsaService final : public MidiService {
 public:
  // Throws std::runtime_error when the sequencer cannot be opened.
  AlsaService(const std::string& clientName, Sink sink);
  ~AlsaService() override;

  std::vector<std::string> ports(Dir d) override;
  std::string clientName() const override;
  int connect(Dir d, unsigned index, const std::string& full) override;
  void disconnect(Dir d) override;
  bool stillConnected(Dir d) override;
  int send(const uint8_t* bytes, std::size_t length) override;
  bool alive() const override;

 private:
  struct Side;  // one RtMidi object, its lock and the errors RtMidi reported on it
  static void onMessage(double stamp, std::vector<unsigned char>* message, void* self);

  const std::string clientName_;
  Sink sink_;
  std::unique_ptr<Side> in_;
  std::unique_ptr<Side> out_;
};

}  // namespace orv::rtmidi
