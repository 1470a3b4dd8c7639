#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "patch/Library.h"

namespace orv {

// Organising the slots of a library. Each operation changes only the slots it names; the
// others stay byte for byte as they were. Slot indexes are 0-based and must lie within the
// library (std::out_of_range otherwise).

// The name rules of Save To Library: an empty name is refused with CGenericException 309, a
// character outside 0x01..0x7F with 403; a longer name is cut to 64 characters.
void checkPatchName(std::string_view name);
// Writes `name` (checked as above) into the slot's patch, zero-padded to 64 bytes.
void renameSlot(Library& library, std::size_t slot, std::string_view name);
// The slot at `from` goes to `to`; the slots between shift by one towards `from`.
void moveSlot(Library& library, std::size_t from, std::size_t to);
// The slot at `to` becomes a copy of the slot at `from` (header, data and model byte).
void copySlot(Library& library, std::size_t from, std::size_t to);
// The slot header Save To Library writes for a patch: its compressor, effect (data numbering),
// delay and reverb types, then 0.
std::array<uint8_t, 5> storedHeader(const PatchData& patch);
// The first slot after `after` (-1: from the top), going round past the last slot, whose name
// contains `text` in any case (ASCII letters); -1 when none does or `text` is empty.
int findSlot(const Library& library, std::string_view text, int after);
// A slot that holds nothing worth keeping: its patch is named "Empty".
bool isEmptySlot(const LibraryEntry& entry);
// File names for patches named `names`: characters a file name cannot hold (\ / * : ? < > " |
// and control characters) become "_", an empty name becomes "Patch", and a name already taken
// (by an earlier one, in any case, or by `taken`) gets " (2)", " (3)" and so on. `extension`
// (".ZBP") is added to each.
std::vector<std::string> uniqueFileNames(const std::vector<std::string>& names,
                                         const std::vector<std::string>& taken,
                                         std::string_view extension);
// Where the patch that was in slot `index` (-1: none) sits after moveSlot(from, to).
int slotAfterMove(int index, std::size_t from, std::size_t to);

}  // namespace orv
