#include "patch/LibraryFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

#include "patch/AtomicFile.h"
#include "patch/GenericException.h"
#include "patch/RegularFile.h"
#include "patch/StringTable.h"

namespace orv {

namespace fs = std::filesystem;
using namespace files;

namespace {

constexpr uint8_t kLibraryMagic[4] = {'V', 'K', 'R', 'B'};
constexpr uint8_t kPatchMagic[4] = {'V', 'K', 'R', 'P'};

[[noreturn]] void fail(int code, const fs::path& path, std::error_code reason = {}) {
  throw CGenericException(code, 1, path.string(), reason);
}

// A stored slot: 5 header bytes, data bytes 0..254, the model byte in place of data byte 255.
LibraryEntry decodeSlot(const uint8_t* slot) {
  LibraryEntry entry;
  std::memcpy(entry.header.data(), slot, entry.header.size());
  std::memcpy(entry.data.bytes.data(), slot + 5, PatchData::kSize - 1);
  entry.data[PatchData::kSize - 1] = 0;
  entry.modelCode = slot[5 + PatchData::kSize - 1];
  return entry;
}

void encodeSlot(const LibraryEntry& entry, std::vector<uint8_t>& out) {
  out.insert(out.end(), entry.header.begin(), entry.header.end());
  out.insert(out.end(), entry.data.bytes.begin(), entry.data.bytes.end() - 1);
  out.push_back(entry.modelCode);
}

}  // namespace

void decodeLibrary(std::span<const uint8_t> bytes, uint64_t fileSize, Library& library,
                   const fs::path& path) {
  // The checks run in this order: magic, size against the count, then the count itself.
  if (bytes.size() < Library::kHeaderSize || std::memcmp(bytes.data(), kLibraryMagic, 4) != 0)
    fail(strings::LibraryFormatError, path);
  Library::Header header;
  std::copy_n(bytes.begin(), header.size(), header.begin());
  const uint64_t count = header[6] | header[7] << 8;
  if (fileSize != Library::kHeaderSize + count * kStoredSlotSize)
    fail(strings::LibraryFormatError, path);
  if (count != Library::kSlots) fail(strings::LibraryLoadFailed, path);
  if (bytes.size() < kLibraryFileSize) fail(strings::LibraryLoadFailed, path);  // short read

  Library read;
  for (std::size_t i = 0; i < Library::kSlots; ++i)
    read.append(decodeSlot(bytes.data() + Library::kHeaderSize + i * kStoredSlotSize));
  read.setHeader(header);
  library = std::move(read);
}

std::vector<uint8_t> encodeLibrary(const Library& library) {
  std::vector<uint8_t> out;
  out.reserve(Library::kHeaderSize + library.size() * kStoredSlotSize);
  out.insert(out.end(), library.header().begin(), library.header().end());
  for (const LibraryEntry& entry : library.entries()) encodeSlot(entry, out);
  return out;
}

void decodePatchFile(std::span<const uint8_t> bytes, LibraryEntry& entry, const fs::path& path) {
  if (bytes.size() < 4 || std::memcmp(bytes.data(), kPatchMagic, 4) != 0)
    fail(strings::PatchFormatError, path);
  // The size is not checked: bytes missing from a short file read as 0, extra bytes are ignored.
  uint8_t slot[kStoredSlotSize] = {};
  std::copy_n(bytes.begin() + 4, std::min(bytes.size() - 4, kStoredSlotSize), slot);
  entry = decodeSlot(slot);
}

std::vector<uint8_t> encodePatchFile(const LibraryEntry& entry) {
  std::vector<uint8_t> out(kPatchMagic, kPatchMagic + 4);
  out.reserve(kPatchFileSize);
  encodeSlot(entry, out);
  return out;
}

void readLibrary(Library& library, const fs::path& path) {
  std::vector<uint8_t> bytes;
  uint64_t fileSize = 0;
  if (const std::error_code ec = readRegularFile(path, kLibraryFileSize, bytes, fileSize))
    fail(strings::LibraryLoadFailed, path, ec);
  decodeLibrary(bytes, fileSize, library, path);
}

void writeLibrary(const Library& library, const fs::path& path) {
  if (const std::error_code ec = writeFileSafely(path, encodeLibrary(library)))
    fail(strings::LibraryWriteFailed, path, ec);
}

void readPatchFile(LibraryEntry& entry, const fs::path& path) {
  std::vector<uint8_t> bytes;
  uint64_t fileSize = 0;
  if (const std::error_code ec = readRegularFile(path, kPatchFileSize, bytes, fileSize))
    fail(strings::PatchImportFailed, path, ec);
  decodePatchFile(bytes, entry, path);
}

void writePatchFile(const LibraryEntry& entry, const fs::path& path) {
  if (const std::error_code ec = writeFileSafely(path, encodePatchFile(entry)))
    fail(strings::PatchExportFailed, path, ec);
}

FileKind fileKindOf(const fs::path& path) {
  // Case does not matter: ".zbl" and ".Zbp" are as common as the upper-case names.
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (extension == ".ZBL") return FileKind::Library;
  if (extension == ".ZBP") return FileKind::Patch;
  return FileKind::Unsupported;
}

}  // namespace orv
