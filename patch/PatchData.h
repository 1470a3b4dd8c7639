#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orv {

class IMessageReporter;

// The 256-byte sound image. Byte offsets are the amplifier's parameter addresses.
struct PatchData {
  static constexpr std::size_t kSize = 256;
  std::array<uint8_t, kSize> bytes{};

  uint8_t& operator[](std::size_t i) { return bytes[i]; }
  uint8_t operator[](std::size_t i) const { return bytes[i]; }
  bool operator==(const PatchData&) const = default;
};

// One library slot: 5 header bytes, the patch and the model byte (0xFF = any model).
struct LibraryEntry {
  std::array<uint8_t, 5> header{};
  PatchData data;
  uint8_t modelCode = 0xFF;
  bool operator==(const LibraryEntry&) const = default;
};

namespace patch {
constexpr std::size_t kNameLength = 64;
constexpr uint8_t kOn = 0;
constexpr uint8_t kOff = 127;
constexpr uint8_t kAnyModel = 0xFF;

// Offsets of the fields the editor uses.
constexpr std::size_t kAmpType = 128, kGain = 129, kMaster = 130, kBass = 131, kMiddle = 132,
                      kTreble = 133, kCabinet = 134;
constexpr std::size_t kCompType = 144, kCompOn = 159;
constexpr std::size_t kEffectType = 160, kEffectOn = 175;
constexpr std::size_t kDelayType = 176, kDelayTime = 177, kDelayFeedback = 179, kDelayHighCut = 180,
                      kDelayLowCut = 182, kDelayLevel = 184, kDelayOn = 191;
constexpr std::size_t kReverbType = 192, kReverbOn = 207;
constexpr std::size_t kGateType = 208, kGateThreshold = 209, kGateRelease = 210, kGateOn = 223;

// Compressor, effect and reverb type values (data numbering).
enum CompType : uint8_t { Stomp = 0, Rack = 1 };
enum EffectType : uint8_t { Chorus = 0, Flanger = 1, Tremolo = 2, Phaser = 3 };
enum ReverbType : uint8_t { Hall = 0, Room = 1, Plate = 2, Spring = 3 };
}  // namespace patch

// Writes the Init patch: the name (cut to 64 characters, zero-padded; "Empty" when none) and the
// init values of every block. Bytes the Init patch does not name are left as they were.
void initPatch(std::optional<std::string_view> name, PatchData& patch);

// 14-bit values are stored high 7 bits first.
int readValue(const PatchData& patch, std::size_t offset, bool twoByte);
void writeValue(PatchData& patch, std::size_t offset, bool twoByte, int value);

// Writes the defaults of `type` into the block whose type byte is at `typeOffset`
// (144 compressor, 160 effect, 192 reverb). Returns false when that type has no defaults.
bool writeTypeDefaults(PatchData& patch, std::size_t typeOffset, uint8_t type);

// The 256 data bytes only; header and model byte take no part.
bool samePatchData(const LibraryEntry& a, const LibraryEntry& b);

// Effect type: list position (Chorus, Flanger, Phaser, Tremolo) <-> data value. Symmetric.
constexpr uint8_t effectListToData(uint8_t item) {
  return item == 2 ? 3 : item == 3 ? 2 : item;
}
constexpr uint8_t effectDataToList(uint8_t data) {
  return effectListToData(data);
}

// Model code rules: '1', '2', '3' have eight amp types, others five ('0' before any amplifier).
int maxAmpType(char modelCode);
// The cabinet list number for a model: 6 for '2', 7 for '3', 4 otherwise.
int cabinetListKind(char modelCode);

// Refuses an entry made for another model (shows "Invalid Model."). Connected only.
bool acceptForModel(const LibraryEntry& entry, bool connected, char connectedModel,
                    IMessageReporter& reporter);
// Refuses a patch whose amp type lies beyond the current maximum amp type (shows
// "Invalid Model."). The caller passes its current maximum: 7 before any amplifier has answered.
bool acceptAmpType(const PatchData& patch, int maxAmpType, IMessageReporter& reporter);

}  // namespace orv
