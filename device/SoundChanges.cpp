#include "device/SoundChanges.h"

#include "device/ParameterMap.h"
#include "device/SysexCodec.h"
#include "patch/GenericException.h"

namespace orv {

namespace {

constexpr int kBlocks[] = {128, 144, 160, 176, 192, 208};
constexpr int kBlockSize = 16;

bool bringsDefaults(int block) {
  return block == int(patch::kCompType) || block == int(patch::kEffectType) ||
         block == int(patch::kReverbType);
}

// The identifier at `offset` under the type `to` gives its block; 0 when none.
int parameterAt(int offset, uint8_t type) {
  try {
    return params::identifierOf(offset, type);
  } catch (const CGenericException&) {
    return 0;
  }
}

}  // namespace

SoundChanges SoundChanges::between(const PatchData& from, const PatchData& to) {
  SoundChanges out;
  for (std::size_t i = 0; i < patch::kNameLength; ++i) {
    if (from[i] == to[i]) continue;
    out.messages.push_back(sysex::encodeParameterChange(int(i), 0, to[i] & 0x7F));
    out.name = true;
  }
  PatchData amp = from;  // what the amplifier holds after each message
  for (const int block : kBlocks) {
    const auto b = std::size_t(block);
    if (amp[b] != to[b]) {
      const uint8_t old = amp[b];
      amp[b] = to[b];
      if (bringsDefaults(block) && old != patch::kOff && to[b] != patch::kOff)
        writeTypeDefaults(amp, b, to[b]);
      out.messages.push_back(sysex::encodeParameterChange(block, 0, to[b]));
      out.parameters.push_back(params::identifierOf(block, to[b]));
    }
    for (int offset = block + 1; offset < block + kBlockSize; ++offset) {
      const int id = parameterAt(offset, to[b]);
      if (id == 0) continue;
      const auto o = std::size_t(offset);
      const bool twoByte = params::isTwoByte(id);
      if (amp[o] != to[o] || (twoByte && amp[o + 1] != to[o + 1])) {
        out.messages.push_back(twoByte ? sysex::encodeParameterChange(offset, to[o], to[o + 1])
                                       : sysex::encodeParameterChange(offset, 0, to[o]));
        out.parameters.push_back(id);
      }
      if (twoByte) ++offset;
    }
  }
  return out;
}

}  // namespace orv
