#include "device/SysexCodec.h"

#include <algorithm>
#include <iostream>
#include <mutex>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv::sysex {

namespace {

constexpr uint8_t kStart = 0xF0, kEnd = 0xF7, kMaker = 0x43, kFamily = 0x7D;
constexpr uint8_t kClassBulk = 0x00, kClassParameter = 0x10, kClassRequest = 0x20,
                  kClassSetting = 0x30, kClassIdentity = 0x60;
constexpr uint8_t kAddressed[2] = {0x41, 0x30};
constexpr uint8_t kDumpTag[8] = {'V', 'K', 'R', '1', 'A', 'l', 'l', 'P'};
constexpr uint8_t kSettingsTag[8] = {'V', 'K', 'R', '1', 'P', 'R', 'E', 'F'};
// Bytes 4..17 of a Bulk Dump: the checksummed length 268 as a 7-bit pair, the tag, 00 00 7F 7F.
constexpr uint8_t kDumpHeader[14] = {0x02, 0x0C, 'V', 'K',  'R',  '1',  'A',
                                     'l',  'l',  'P', 0x00, 0x00, 0x7F, 0x7F};
constexpr std::size_t kChecksumFrom = 6, kChecksumAt = 274;
constexpr int kHighestAddress = 256;

constexpr uint8_t data7(uint8_t b) {
  return b & 0x7F;
}

Bytes request(const uint8_t (&tag)[8]) {
  Bytes m(13);
  m[0] = kStart;
  m[1] = kMaker;
  m[2] = kFamily;
  m[3] = kClassRequest;
  std::copy(std::begin(tag), std::end(tag), m.begin() + 4);
  m[12] = kEnd;
  return m;
}

bool matches(const uint8_t* at, const uint8_t* expected, std::size_t n) {
  return std::equal(expected, expected + n, at);
}

std::mutex& sinkMutex() {
  static std::mutex m;
  return m;
}
DiagnosticSink& sinkSlot() {
  static DiagnosticSink sink;
  return sink;
}

Message reject(std::string_view diagnostic) {
  reportDiagnostic(diagnostic);
  return Rejected{std::string(diagnostic)};
}

Message classifyBulkDump(const uint8_t* b, std::size_t n) {
  if (n < kBulkDumpSize || !matches(b + 4, kDumpHeader, sizeof kDumpHeader)) return Rejected{};
  if (data7(b[kChecksumAt]) != checksum(b)) return reject("Check sum error.");
  BulkDump dump;
  std::copy_n(b + kBulkDataOffset, PatchData::kSize, dump.data.bytes.begin());
  return dump;
}

Message classifyParameterChange(const uint8_t* b, std::size_t n) {
  if (n < 11 || !matches(b + 4, kAddressed, 2)) return Rejected{};
  const int address = data7(b[6]) * 128 + data7(b[7]);
  if (address > kHighestAddress) return reject("Invalid parameter address.");
  return ParameterChange{address, b[8], b[9]};
}

}  // namespace

Bytes encodeParameterChange(int offset, uint8_t d1, uint8_t d2) {
  if (offset < 0 || offset >= int(PatchData::kSize))
    throw CGenericException(strings::InvalidParameter, offset);
  return {kStart,
          kMaker,
          kFamily,
          kClassParameter,
          kAddressed[0],
          kAddressed[1],
          uint8_t(offset >> 7),
          uint8_t(offset & 0x7F),
          data7(d1),
          data7(d2),
          kEnd};
}

Bytes encodeSettingChange(uint8_t number, uint8_t value) {
  return {kStart,        kMaker,        kFamily,      kClassSetting, kAddressed[0],
          kAddressed[1], data7(number), data7(value), kEnd};
}

Bytes encodeDumpRequest() {
  return request(kDumpTag);
}

Bytes encodeSettingsRequest() {
  return request(kSettingsTag);
}

Bytes encodeBulkDump(const PatchData& data) {
  Bytes m(kBulkDumpSize);
  m[0] = kStart;
  m[1] = kMaker;
  m[2] = kFamily;
  m[3] = kClassBulk;
  std::copy(std::begin(kDumpHeader), std::end(kDumpHeader), m.begin() + 4);
  // The mirror keeps whole bytes; the wire carries 7 bits, and the checksum covers what is sent.
  std::transform(data.bytes.begin(), data.bytes.end(), m.begin() + kBulkDataOffset, data7);
  m[kChecksumAt] = checksum(m.data());
  m[kBulkDumpSize - 1] = kEnd;
  return m;
}

uint8_t checksum(const uint8_t* dump276) {
  unsigned sum = 0;
  for (std::size_t i = kChecksumFrom; i < kChecksumAt; ++i) sum += dump276[i];
  return uint8_t((0u - sum) & 0x7F);
}

Message classify(const uint8_t* b, std::size_t n) {
  if (b == nullptr || n < 9 || b[0] != kStart || b[1] != kMaker || b[2] != kFamily)
    return Nothing{};
  switch (b[3] & 0xF0) {
    case kClassBulk:
      return classifyBulkDump(b, n);
    case kClassSetting:
      if (!matches(b + 4, kAddressed, 2)) return Rejected{};
      return SettingReport{b[6] * 256 + b[7]};
    case kClassParameter:
      return classifyParameterChange(b, n);
    case kClassIdentity:
      if (b[4] != 'V' || b[5] != 'K' || b[6] != 'R' || b[7] == 0) return Rejected{};
      return Identity{b[7]};
    default:
      return Nothing{};
  }
}

void setDiagnosticSink(DiagnosticSink sink) {
  std::lock_guard lock(sinkMutex());
  sinkSlot() = std::move(sink);
}

void reportDiagnostic(std::string_view line) {
  std::lock_guard lock(sinkMutex());
  if (sinkSlot()) {
    sinkSlot()(line);
    return;
  }
  std::cerr << line << '\n' << std::flush;
}

}  // namespace orv::sysex
