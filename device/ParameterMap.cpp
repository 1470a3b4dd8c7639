#include "device/ParameterMap.h"

#include <array>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv::params {

namespace {

constexpr uint8_t kAnyType = 0xFF;  // row applies whatever the type byte

struct Row {
  int id;
  int offset;
  int width;
  uint8_t types;  // bit t set: applies while the type byte is t; kAnyType: always
};

constexpr uint8_t T(int t) {
  return static_cast<uint8_t>(1u << t);
}

// clang-format off
constexpr std::array<Row, 55> kRows{{
    {1001, 128, 1, kAnyType}, {1002, 129, 1, kAnyType}, {1003, 130, 1, kAnyType},
    {1004, 131, 1, kAnyType}, {1005, 132, 1, kAnyType}, {1006, 133, 1, kAnyType},
    {1007, 134, 1, kAnyType},
    {1008, 144, 1, kAnyType},
    {1009, 145, 1, T(0)}, {1010, 146, 1, T(0)},
    {1011, 145, 2, T(1)}, {1012, 147, 1, T(1)}, {1013, 148, 1, T(1)}, {1014, 149, 1, T(1)},
    {1015, 150, 1, T(1)}, {1016, 151, 2, T(1)},
    {1017, 159, 1, kAnyType},
    {1018, 160, 1, kAnyType},
    {1019, 161, 1, T(0)}, {1020, 162, 1, T(0)}, {1021, 163, 1, T(0)},
    {1022, 161, 1, T(1)}, {1023, 162, 1, T(1)}, {1024, 163, 1, T(1)}, {1025, 164, 1, T(1)},
    {1026, 165, 1, T(1)},
    {1027, 161, 1, T(3)}, {1028, 162, 1, T(3)}, {1029, 163, 1, T(3)}, {1030, 164, 1, T(3)},
    {1031, 161, 1, T(2)}, {1032, 162, 1, T(2)},
    {1033, 175, 1, kAnyType},
    {1034, 176, 1, kAnyType}, {1035, 177, 2, kAnyType}, {1036, 179, 1, kAnyType},
    {1037, 180, 2, kAnyType}, {1038, 182, 2, kAnyType}, {1039, 184, 1, kAnyType},
    {1040, 191, 1, kAnyType},
    {1041, 192, 1, kAnyType},
    {1042, 193, 2, T(0) | T(1) | T(2)}, {1043, 195, 2, T(0) | T(1) | T(2)},
    {1044, 197, 2, T(0) | T(1) | T(2)}, {1045, 199, 2, T(0) | T(1) | T(2)},
    {1046, 201, 1, T(0) | T(1) | T(2)}, {1047, 202, 1, T(0) | T(1) | T(2)},
    {1048, 203, 1, T(0) | T(1) | T(2)},
    {1049, 193, 1, T(3)}, {1050, 194, 1, T(3)},
    {1051, 207, 1, kAnyType},
    {1052, 208, 1, kAnyType}, {1053, 209, 1, kAnyType}, {1054, 210, 1, kAnyType},
    {1055, 223, 1, kAnyType},
}};
// clang-format on

[[noreturn]] void invalid() {
  throw CGenericException(strings::InvalidParameter, 0);
}

const Row& rowOf(int id) {
  for (const Row& r : kRows)
    if (r.id == id) return r;
  invalid();
}

bool applies(const Row& r, uint8_t typeByte) {
  return r.types == kAnyType || (typeByte < 8 && (r.types & T(typeByte)) != 0);
}

}  // namespace

int offsetOf(int id) {
  return rowOf(id).offset;
}

bool isTwoByte(int id) {
  for (const Row& r : kRows)
    if (r.id == id) return r.width == 2;
  return false;
}

int identifierOf(int offset, uint8_t typeByte) {
  for (const Row& r : kRows)
    if (r.offset == offset && applies(r, typeByte)) return r.id;
  invalid();
}

int blockOf(int offset) {
  if (offset < 144) return 128;
  if (offset < 160) return 144;
  if (offset < 176) return 160;
  if (offset < 192) return 176;
  if (offset < 208) return 192;
  return 208;
}

}  // namespace orv::params
