#pragma once
#include <cstdint>

namespace orv::params {

// Parameter identifiers 1001..1055 and their PatchData offsets. Type-dependent rows apply only
// while the type byte of their block holds one of their types.
constexpr int kFirstId = 1001;
constexpr int kLastId = 1055;

// Identifiers of the type bytes and switches used elsewhere.
constexpr int kAmpType = 1001, kCabinet = 1007, kCompType = 1008, kKnee = 1015, kCompOn = 1017,
              kEffectType = 1018, kEffectOn = 1033, kDelayType = 1034, kDelayOn = 1040,
              kReverbType = 1041, kReverbOn = 1051, kGateType = 1052, kGateOn = 1055;

// Offset of an identifier. Throws CGenericException 203 outside the map.
int offsetOf(int id);
// Identifier of an offset, given the type byte of the offset's block. Throws CGenericException
// 203 when the offset names no parameter for that type (name bytes, second bytes of 14-bit values,
// unused bytes, offsets beyond the map).
int identifierOf(int offset, uint8_t typeByte);
// True for the nine 14-bit parameters.
bool isTwoByte(int id);
// Offset of the type byte governing `offset`: 128, 144, 160, 176, 192 or 208.
int blockOf(int offset);

}  // namespace orv::params
