#include "device/rtmidi/JackService.h"

#include "device/rtmidi/RtMidiBackend.h"

namespace orv::rtmidi {

JackService::JackService(const std::string& clientName, Sink sink)
    : client_(clientName, false, std::move(sink)) {}

std::vector<std::string> JackService::ports(Dir d) {
  return client_.ports(side(d));
}

std::vector<std::string> JackService::aliases(Dir, const std::string& full) {
  return client_.aliases(full);
}

std::string JackService::clientName() const {
  return client_.name();
}

int JackService::connect(Dir d, unsigned, const std::string& full) {
  return client_.connect(side(d), full) ? 0 : RtMidiBackend::kErrorService;
}

void JackService::disconnect(Dir d) {
  client_.disconnect(side(d));
}

bool JackService::stillConnected(Dir d) {
  return client_.alive() && !client_.dropped(side(d));
}

int JackService::send(const uint8_t* bytes, std::size_t length) {
  if (!client_.alive()) return RtMidiBackend::kErrorDeviceGone;
  if (!client_.fits(length)) return RtMidiBackend::kErrorTooLong;
  return client_.send(bytes, length) ? 0 : RtMidiBackend::kErrorBusy;
}

bool JackService::alive() const {
  return client_.alive();
}

}  // namespace orv::rtmidi
