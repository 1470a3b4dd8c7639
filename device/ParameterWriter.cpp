#include "device/ParameterWriter.h"

#include <algorithm>
#include <span>

#include "device/DeviceLink.h"
#include "device/ParameterMap.h"
#include "device/SysexCodec.h"
#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv {

namespace {

constexpr uint8_t kNoType = 127;  // a type byte of 127 never triggers a reset

struct Sent {
  int offset;
  bool twoByte;
};

// What a section reset announces, in the order the amplifier expects it.
// clang-format off
constexpr Sent kStomp[] = {{145, false}, {146, false}};
constexpr Sent kRack[] = {{145, true}, {147, false}, {148, false}, {149, false}, {150, false},
                          {151, true}};
constexpr Sent kEffect[] = {{161, false}, {162, false}, {163, false}, {164, false}, {165, false}};
constexpr Sent kHallRoomPlate[] = {{193, true}, {195, true}, {197, true}, {199, true},
                                   {201, false}, {202, false}, {203, false}};
constexpr Sent kSpring[] = {{193, false}, {194, false}};
// Parameters per effect type, in data numbering: Chorus, Flanger, Tremolo, Phaser.
constexpr std::size_t kEffectCount[] = {3, 5, 2, 4};
// clang-format on

std::span<const Sent> resetOrder(int typeId, uint8_t t) {
  switch (typeId) {
    case params::kCompType:
      if (t == patch::Stomp) return kStomp;
      if (t == patch::Rack) return kRack;
      return {};
    case params::kEffectType:
      if (t <= patch::Phaser) return std::span<const Sent>(kEffect).first(kEffectCount[t]);
      return {};
    case params::kReverbType:
      if (t <= patch::Plate) return kHallRoomPlate;
      if (t == patch::Spring) return kSpring;
      return {};
    default:
      return {};
  }
}

bool isTypeId(int id) {
  return id == params::kCompType || id == params::kEffectType || id == params::kReverbType;
}

[[noreturn]] void invalid(int value = 0) {
  throw CGenericException(strings::InvalidParameter, value);
}

// The identifier exists under the type its block holds right now.
bool applies(const PatchData& m, int id, int offset) {
  const int block = params::blockOf(offset);
  try {
    return params::identifierOf(offset, m[static_cast<std::size_t>(block)]) == id;
  } catch (const CGenericException&) {
    return false;
  }
}

std::vector<uint8_t> change(const PatchData& m, const Sent& s) {
  const auto o = static_cast<std::size_t>(s.offset);
  if (s.twoByte) return sysex::encodeParameterChange(s.offset, m[o], m[o + 1]);
  return sysex::encodeParameterChange(s.offset, 0, m[o]);
}

}  // namespace

ParameterWriter::Outcome ParameterWriter::setOneByte(int id, int value) {
  const int offset = params::offsetOf(id);
  if (params::isTwoByte(id)) invalid();
  if (value < 0 || value > 0x7F) invalid(value);
  const auto o = static_cast<std::size_t>(offset);
  const auto v = static_cast<uint8_t>(value);

  Outcome outcome = Outcome::Unchanged;
  Messages out;
  link_.withMirror([&](PatchData& m) {
    if (!applies(m, id, offset)) {
      outcome = Outcome::Inapplicable;
      return;
    }
    if (m[o] == v) return;
    const bool reset = isTypeId(id) && m[o] != kNoType && v != kNoType;
    m[o] = v;
    if (reset) resetLocked(m, id, v, &out);
    out.push_back(sysex::encodeParameterChange(offset, 0, v));
    outcome = Outcome::Written;
  });
  if (outcome == Outcome::Written) sendAndMarkEdited(out);
  return outcome;
}

ParameterWriter::Outcome ParameterWriter::setTwoByte(int id, int value) {
  const int offset = params::offsetOf(id);
  if (!params::isTwoByte(id)) invalid();
  if (value < 0 || value > 0x3FFF) invalid(value);

  Outcome outcome = Outcome::Unchanged;
  Messages out;
  link_.withMirror([&](PatchData& m) {
    if (!applies(m, id, offset)) {
      outcome = Outcome::Inapplicable;
      return;
    }
    if (readValue(m, static_cast<std::size_t>(offset), true) == value) return;
    writeValue(m, static_cast<std::size_t>(offset), true, value);
    out.push_back(change(m, {offset, true}));
    outcome = Outcome::Written;
  });
  if (outcome == Outcome::Written) sendAndMarkEdited(out);
  return outcome;
}

ParameterWriter::Outcome ParameterWriter::set(int id, int value) {
  return params::isTwoByte(id) ? setTwoByte(id, value) : setOneByte(id, value);
}

bool ParameterWriter::setName(const Name& name) {
  bool changed = false;
  Messages out;
  link_.withMirror([&](PatchData& m) {
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name[i] == m[i]) continue;
      changed = true;
      // A Parameter Change carries 7-bit data only; the mirror keeps the whole byte.
      out.push_back(sysex::encodeParameterChange(static_cast<int>(i), 0, name[i] & 0x7F));
    }
    if (changed) std::copy(name.begin(), name.end(), m.bytes.begin());
  });
  if (changed) sendAndMarkEdited(out);
  return changed;
}

bool ParameterWriter::setName(std::string_view text) {
  Name name{};
  const std::size_t n = std::min(text.size(), name.size());
  std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), name.begin(),
                 [](char c) { return static_cast<uint8_t>(c); });
  return setName(name);
}

void ParameterWriter::resetSection(int typeId, uint8_t newType, bool send) {
  Messages out;
  link_.withMirror([&](PatchData& m) { resetLocked(m, typeId, newType, send ? &out : nullptr); });
  sendAll(out);
}

ParameterWriter::Outcome ParameterWriter::setSectionSwitch(int blockOffset, bool on) {
  switch (blockOffset) {
    case 144:
    case 160:
    case 176:
    case 192:
    case 208:
      break;
    default:
      invalid(blockOffset);
  }
  const int id = params::identifierOf(blockOffset + 15, 0);
  return setOneByte(id, on ? patch::kOn : patch::kOff);
}

void ParameterWriter::resetLocked(PatchData& m, int typeId, uint8_t newType, Messages* out) {
  if (!isTypeId(typeId)) return;
  if (!writeTypeDefaults(m, static_cast<std::size_t>(params::offsetOf(typeId)), newType)) return;
  if (out == nullptr) return;
  for (const Sent& s : resetOrder(typeId, newType)) out->push_back(change(m, s));
}

void ParameterWriter::sendAll(const Messages& messages) {
  for (const auto& message : messages) link_.send(message);
}

// A write counts as an edit only once every one of its messages went out: a failed send throws
// before `edited` is set.
void ParameterWriter::sendAndMarkEdited(const Messages& messages) {
  sendAll(messages);
  link_.setEdited(true);
}

}  // namespace orv
