#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "patch/PatchData.h"

namespace orv {

// A library as held in memory and in a library file: the 8 header bytes exactly as read
// (magic "VKRB", two kept bytes, little-endian slot count) and the slots in order.
class Library {
 public:
  static constexpr std::size_t kSlots = 100;
  static constexpr std::size_t kHeaderSize = 8;
  using Header = std::array<uint8_t, kHeaderSize>;

  // An empty library: header "VKRB", "01", count 0, no slots.
  Library() { reset(); }

  void reset();
  // Appends a slot and raises the count field by one.
  void append(const LibraryEntry& entry);

  const Header& header() const { return header_; }
  void setHeader(const Header& header) { header_ = header; }
  // The two bytes kept with the library (bytes 4..5 of the header).
  std::array<uint8_t, 2> keptBytes() const { return {header_[4], header_[5]}; }
  void setKeptBytes(uint8_t first, uint8_t second);
  // The slot count as the header states it.
  uint16_t countField() const { return static_cast<uint16_t>(header_[6] | header_[7] << 8); }

  std::size_t size() const { return slots_.size(); }
  bool empty() const { return slots_.empty(); }
  LibraryEntry& slot(std::size_t i) { return slots_.at(i); }
  const LibraryEntry& slot(std::size_t i) const { return slots_.at(i); }
  const std::vector<LibraryEntry>& entries() const { return slots_; }

  bool operator==(const Library&) const = default;

 private:
  Header header_{};
  std::vector<LibraryEntry> slots_;
};

// The library made by the New command: 100 slots with a zero header, `patch` as data (the caller
// has given it the Init patch) and model byte 0xFF.
Library makeNewLibrary(const PatchData& patch);

// The name of a patch as stored: at most 64 bytes, ending at the first zero byte.
std::string patchName(const PatchData& patch);

// Row i of the library list: "%03d %s" with i + 1 and the slot's name.
std::string rowText(const Library& library, std::size_t i);
std::vector<std::string> rowTexts(const Library& library);

// True when `current` differs from `saved` in its 8 header bytes or in the 256 data bytes of any
// of slots 0..99. Slot headers and model bytes take no part; a slot missing on one side counts
// as a difference.
bool libraryChanged(const Library& current, const Library& saved);

}  // namespace orv
