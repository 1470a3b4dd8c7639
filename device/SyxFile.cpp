#include "device/SyxFile.h"

#include <algorithm>
#include <cctype>

#include "device/SysexCodec.h"
#include "patch/AtomicFile.h"
#include "patch/GenericException.h"
#include "patch/LibrarySlots.h"
#include "patch/RegularFile.h"
#include "patch/StringTable.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kStart = 0xF0, kEnd = 0xF7;
constexpr std::size_t kChecksumAt = 274;
// Far more than any library: a bigger file is not a patch collection.
constexpr std::size_t kLargestFile = 16u << 20;

[[noreturn]] void fail(int code, const fs::path& path, std::error_code reason = {}) {
  throw CGenericException(code, 1, path.string(), reason);
}

// Our own Bulk Dump class: F0 43 7D and a class nibble of 0. Anything else is foreign.
bool isBulkDumpClass(std::span<const uint8_t> m) {
  return m.size() >= 4 && m[1] == 0x43 && m[2] == 0x7D && (m[3] & 0xF0) == 0x00;
}

// The patch of a Bulk Dump whose layout, 7-bit body and checksum are right.
bool readBulkDump(std::span<const uint8_t> m, PatchData& patch) {
  static const sysex::Bytes prefix = sysex::encodeBulkDump(PatchData{});
  if (m.size() != sysex::kBulkDumpSize) return false;
  if (!std::equal(prefix.begin() + 4, prefix.begin() + sysex::kBulkDataOffset, m.begin() + 4))
    return false;
  if (std::any_of(m.begin() + 1, m.end() - 1, [](uint8_t b) { return b > 0x7F; })) return false;
  if (m[kChecksumAt] != sysex::checksum(m.data())) return false;
  std::copy_n(m.begin() + sysex::kBulkDataOffset, PatchData::kSize, patch.bytes.begin());
  return true;
}

}  // namespace

SyxContents decodeSyx(std::span<const uint8_t> bytes, const fs::path& path) {
  SyxContents contents;
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (bytes[at] != kStart) fail(strings::PatchFormatError, path);
    const auto end = std::find(bytes.begin() + at + 1, bytes.end(), kEnd);
    if (end == bytes.end()) fail(strings::PatchFormatError, path);
    const std::span<const uint8_t> message(bytes.begin() + at, end + 1);
    if (std::find(message.begin() + 1, message.end(), kStart) != message.end())
      fail(strings::PatchFormatError, path);  // a message cut short by the next one
    if (isBulkDumpClass(message)) {
      PatchData patch;
      if (!readBulkDump(message, patch)) fail(strings::PatchFormatError, path);
      contents.patches.push_back(patch);
    } else {
      ++contents.foreignMessages;
    }
    at += message.size();
  }
  if (contents.patches.empty()) fail(strings::PatchFormatError, path);
  return contents;
}

std::vector<uint8_t> encodeSyx(std::span<const PatchData> patches) {
  std::vector<uint8_t> out;
  out.reserve(patches.size() * sysex::kBulkDumpSize);
  for (const PatchData& patch : patches) {
    const sysex::Bytes dump = sysex::encodeBulkDump(patch);
    out.insert(out.end(), dump.begin(), dump.end());
  }
  return out;
}

SyxContents readSyxFile(const fs::path& path) {
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  if (const std::error_code ec = readRegularFile(path, kLargestFile + 1, bytes, size))
    fail(strings::PatchImportFailed, path, ec);
  if (size > kLargestFile) fail(strings::PatchFormatError, path);
  return decodeSyx(bytes, path);
}

void writeSyxFile(std::span<const PatchData> patches, const fs::path& path) {
  if (const std::error_code ec = writeFileSafely(path, encodeSyx(patches)))
    fail(strings::PatchExportFailed, path, ec);
}

bool isSyxFile(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".syx";
}

LibraryEntry entryFromSyx(const PatchData& patch, uint8_t modelCode) {
  LibraryEntry entry;
  entry.data = patch;
  entry.data[PatchData::kSize - 1] = 0;
  entry.header = storedHeader(patch);
  entry.modelCode = modelCode;
  return entry;
}

}  // namespace orv
