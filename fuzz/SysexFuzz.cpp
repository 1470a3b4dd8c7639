// The SysEx classifier: any received bytes give exactly one kind, within its documented limits.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "device/SysexCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    orv::sysex::setDiagnosticSink([](std::string_view) {});
    return true;
  }();
  (void)quiet;
  const orv::sysex::Message m = orv::sysex::classify(data, size);
  if (size < 9 && !std::holds_alternative<orv::sysex::Nothing>(m)) __builtin_trap();
  if (const auto* p = std::get_if<orv::sysex::ParameterChange>(&m))
    if (p->address < 0 || p->address > 256 || size < 11) __builtin_trap();
  if (const auto* i = std::get_if<orv::sysex::Identity>(&m))
    if (i->model == 0) __builtin_trap();
  if (const auto* d = std::get_if<orv::sysex::BulkDump>(&m)) {
    if (size < orv::sysex::kBulkDumpSize) __builtin_trap();
    // What is accepted encodes back to the same data with a valid checksum.
    const orv::sysex::Bytes again = orv::sysex::encodeBulkDump(d->data);
    if (!std::holds_alternative<orv::sysex::BulkDump>(
            orv::sysex::classify(again.data(), again.size())))
      __builtin_trap();
  }
  return 0;
}
