#pragma once
#include <jack/jack.h>

#include <string>

namespace orv::rtmidi {

// While one of these lives, the MIDI services' own complaints (JACK's "cannot connect to server",
// ALSA's "open /dev/snd/seq failed") are kept off the terminal: the caller reports the failure
// in its own words. Otherwise they go to standard error.
class QuietServiceMessages {
 public:
  QuietServiceMessages();
  ~QuietServiceMessages();
  QuietServiceMessages(const QuietServiceMessages&) = delete;
  QuietServiceMessages& operator=(const QuietServiceMessages&) = delete;
};

// jack_client_open, tried again a few times when a busy server refuses a new client while it is
// still notifying the others of one that just left (JackServerError without JackServerFailed).
// Every client of this process is opened here, one at a time (see JackClient::beforeOpen()).
jack_client_t* openJackClient(const std::string& name, int options, int* status);

// Whether a JACK client named exactly `name` is on the server (false when there is no server).
bool jackClientExists(const std::string& name);

}  // namespace orv::rtmidi
