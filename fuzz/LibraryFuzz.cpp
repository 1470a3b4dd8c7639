// Library file reading: any bytes give a library or one of the failure codes, and what reads
// without failure writes back to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  orv::Library library;
  try {
    orv::decodeLibrary(bytes, size, library);
  } catch (const orv::CGenericException& e) {
    if (e.code() != 300 && e.code() != 302) __builtin_trap();
    if (!library.empty()) __builtin_trap();  // a failed read changes nothing
    return 0;
  }
  if (library.size() != 100) __builtin_trap();
  // Data byte 255 is not stored, so the stored form is the identity on valid files.
  const std::vector<uint8_t> again = orv::encodeLibrary(library);
  if (again.size() != size || !std::equal(again.begin(), again.end(), data)) __builtin_trap();
  return 0;
}
