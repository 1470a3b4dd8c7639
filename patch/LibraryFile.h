#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "patch/Library.h"
#include "patch/PatchData.h"

namespace orv {

// Library files (.ZBL) and patch files (.ZBP). Every failure is a CGenericException whose code is
// the string id of its message (300..305), whose value is 1, whose text is the file's path and,
// when the system refused the file, whose reason is the system's. Reading never changes its
// target unless the whole read succeeds, and refuses what is not a regular file (a named pipe,
// a device) without waiting on it. Writing goes through writeFileSafely: on failure the
// previous file is untouched and no partial file is left; a read-only file is refused.
namespace files {
constexpr std::size_t kStoredSlotSize = 261;
constexpr std::size_t kLibraryFileSize = Library::kHeaderSize + Library::kSlots * kStoredSlotSize;
constexpr std::size_t kPatchFileSize = 4 + kStoredSlotSize;
}  // namespace files

void readLibrary(Library& library, const std::filesystem::path& path);
void writeLibrary(const Library& library, const std::filesystem::path& path);
void readPatchFile(LibraryEntry& entry, const std::filesystem::path& path);
void writePatchFile(const LibraryEntry& entry, const std::filesystem::path& path);

// The same formats in memory. `fileSize` is the size of the whole file, of which `bytes` holds
// the beginning (at least the first 8 + 100 x 261 bytes when the file is that long). The path is
// only used as the text of a failure.
void decodeLibrary(std::span<const uint8_t> bytes, uint64_t fileSize, Library& library,
                   const std::filesystem::path& path = {});
std::vector<uint8_t> encodeLibrary(const Library& library);
void decodePatchFile(std::span<const uint8_t> bytes, LibraryEntry& entry,
                     const std::filesystem::path& path = {});
std::vector<uint8_t> encodePatchFile(const LibraryEntry& entry);

// What a file handed to the main window is, by its extension (upper or lower case alike).
enum class FileKind { Library, Patch, Unsupported };
FileKind fileKindOf(const std::filesystem::path& path);

}  // namespace orv
