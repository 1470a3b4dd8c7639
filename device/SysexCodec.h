#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "patch/PatchData.h"

namespace orv::sysex {

using Bytes = std::vector<uint8_t>;

constexpr std::size_t kBulkDumpSize = 276;
constexpr std::size_t kBulkDataOffset = 18;

// Setting numbers of the Setting Change.
enum Setting : uint8_t { ExtendedStereo = 0, PowerLamp = 1, UsbVolume = 2 };

// Messages the editor sends. No byte of 0x80 or above ever goes into a body: data bytes are
// masked to 7 bits. An offset outside 0..255 throws CGenericException 203.
Bytes encodeParameterChange(int offset, uint8_t d1, uint8_t d2);
Bytes encodeSettingChange(uint8_t number, uint8_t value);
Bytes encodeDumpRequest();
Bytes encodeSettingsRequest();
Bytes encodeBulkDump(const PatchData& data);
// Checksum over bytes 6..273 of a 276-byte Bulk Dump buffer.
uint8_t checksum(const uint8_t* dump276);

// What a received byte string is.
struct Nothing {};
struct Identity {
  uint8_t model;
};
struct ParameterChange {
  int address;
  uint8_t d1;
  uint8_t d2;
};
struct SettingReport {
  int value;
};  // number * 256 + value
struct BulkDump {
  PatchData data;
};
// A message of a known class that failed one of its tests; it is dropped. Empty diagnostic:
// dropped silently. (Byte strings that are not ours at all, or of an unknown class, are Nothing.)
struct Rejected {
  std::string diagnostic;
};
using Message = std::variant<Nothing, Identity, ParameterChange, SettingReport, BulkDump, Rejected>;

// Classifies in the fixed order of checks. A rejection with a diagnostic also writes that line to
// the diagnostic sink.
Message classify(const uint8_t* bytes, std::size_t length);

// Where the protocol diagnostics ("Check sum error.", "Invalid parameter address.") and the
// device link's "Exception caught!" go, one line each. Standard error by default; tests install
// their own sink. The sink is called under a lock, so it is never called after it was replaced.
using DiagnosticSink = std::function<void(std::string_view line)>;
void setDiagnosticSink(DiagnosticSink sink);  // empty function restores standard error
void reportDiagnostic(std::string_view line);

}  // namespace orv::sysex
