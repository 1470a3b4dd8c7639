#pragma once
#include <cstdint>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

// What takes an amplifier holding one sound to another, value by value: one Parameter Change
// per changed name character and per changed parameter, in an order the amplifier follows. A
// new compressor, effect or reverb type goes first in its block, since the amplifier brings
// that type's defaults with it; every value that then still differs follows.
struct SoundChanges {
  std::vector<std::vector<uint8_t>> messages;
  std::vector<int> parameters;  // the identifiers sent, in order
  bool name = false;            // a name character was sent

  static SoundChanges between(const PatchData& from, const PatchData& to);
};

}  // namespace orv
