#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

// Standard SysEx files (.syx): a plain sequence of System Exclusive messages, here one Bulk
// Dump per patch, exactly as the amplifier receives it. Any MIDI tool that records or sends
// SysEx reads and writes them.
//
// Reading keeps the patches of the Bulk Dumps in file order and skips (and counts) every other
// complete message. A Bulk Dump of the wrong length or with a wrong checksum, an unterminated
// message, bytes outside any message and a file without a single Bulk Dump are all refused as a
// whole with CGenericException 305 ("Format error") and the path as its text; a file that cannot
// be read is 303, one that cannot be written 304 (the texts of the patch files).
struct SyxContents {
  std::vector<PatchData> patches;
  std::size_t foreignMessages = 0;
};

SyxContents decodeSyx(std::span<const uint8_t> bytes, const std::filesystem::path& path = {});
std::vector<uint8_t> encodeSyx(std::span<const PatchData> patches);

SyxContents readSyxFile(const std::filesystem::path& path);
void writeSyxFile(std::span<const PatchData> patches, const std::filesystem::path& path);

// True for a file name ending in ".syx" (any case).
bool isSyxFile(const std::filesystem::path& path);

// A patch from a .syx as a library slot: the section types in the header as Save To Library
// writes them, byte 255 zero as in every slot read from a file, and `modelCode` (the connected
// amplifier's, or 0xFF when none is known).
LibraryEntry entryFromSyx(const PatchData& patch, uint8_t modelCode);

}  // namespace orv
