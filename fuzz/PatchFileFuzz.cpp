// Patch file reading: only the magic is checked; short files read as zeros, long ones are cut.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  orv::LibraryEntry entry;
  try {
    orv::decodePatchFile(std::span<const uint8_t>(data, size), entry);
  } catch (const orv::CGenericException& e) {
    if (e.code() != 305) __builtin_trap();
    return 0;
  }
  if (entry.data[255] != 0) __builtin_trap();
  std::vector<uint8_t> expected(orv::files::kPatchFileSize, 0);
  std::copy_n(data, std::min(size, expected.size()), expected.begin());
  if (orv::encodePatchFile(entry) != expected) __builtin_trap();
  return 0;
}
