#pragma once
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

class DeviceLink;

// The writes of single parameters, the patch name, section resets and section switches into the
// device link's state mirror, each with exactly the Parameter Changes it sends.
//
// Every check-then-store sequence runs under the mirror lock (DeviceLink::withMirror), so the MIDI
// thread never sees a type byte without the section defaults that go with it. The messages are
// built under the lock and sent after it is released, in order; the link sends only while
// connected. A failed send throws CGenericException 202: the mirror keeps what was stored, the
// `edited` flag is not set and the remaining messages of the operation are not sent.
//
// Invalid input (an identifier outside the map, a value outside 0..127 for one byte or 0..16383
// for two, a one-byte write to a two-byte identifier or the reverse) throws CGenericException 203
// before anything is stored.
class ParameterWriter {
 public:
  enum class Outcome {
    Unchanged,     // the mirror already held the value: nothing stored, sent or flagged
    Written,       // stored, sent when connected, `edited` set
    Inapplicable,  // the parameter does not exist under the block's current type: nothing done
  };
  using Name = std::array<uint8_t, patch::kNameLength>;

  explicit ParameterWriter(DeviceLink& link) : link_(link) {}

  // One-byte parameter. Also the amp-type rule (1001), the type change of the compressor, effect
  // and reverb (1008, 1018, 1041: the section is reset to the new type's defaults and those are
  // sent before the type byte, unless the old or the new type is 127) and the plain write of
  // every other one-byte parameter.
  Outcome setOneByte(int id, int value);
  // 14-bit parameter, stored and sent high 7 bits first.
  Outcome setTwoByte(int id, int value);
  // Either of the above by the identifier's width.
  Outcome set(int id, int value);

  // The 64 name bytes. Each changed byte is sent as its own Parameter Change (offset = byte
  // index); bytes above 0x7F go out masked to 7 bits while the mirror keeps them whole.
  // Returns false when the name was already the mirror's.
  bool setName(const Name& name);
  // The text cut to 64 bytes and zero-padded.
  bool setName(std::string_view text);

  // Writes the defaults of `newType` for the type byte `typeId` (1008, 1018 or 1041) and, when
  // `send`, sends them in the section's order. The type byte itself is the caller's. Does not set
  // `edited`. Any other identifier or a type without defaults writes nothing.
  void resetSection(int typeId, uint8_t newType, bool send);

  // The on/off byte of the block starting at `blockOffset` (144, 160, 176, 192, 208): 0 for on,
  // 127 for off.
  Outcome setSectionSwitch(int blockOffset, bool on);

 private:
  using Messages = std::vector<std::vector<uint8_t>>;
  // Under the mirror lock: writes the defaults and appends the messages that announce them.
  static void resetLocked(PatchData& mirror, int typeId, uint8_t newType, Messages* out);
  void sendAll(const Messages& messages);
  void sendAndMarkEdited(const Messages& messages);

  DeviceLink& link_;
};

}  // namespace orv
