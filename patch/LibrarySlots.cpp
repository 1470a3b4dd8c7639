#include "patch/LibrarySlots.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "patch/GenericException.h"
#include "patch/StringTable.h"

namespace orv {

namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string fileStem(const std::string& name) {
  std::string stem = name;
  for (char& c : stem)
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("\\/*:?<>\"|").find(c) != std::string_view::npos)
      c = '_';
  if (stem.empty() || stem == "." || stem == "..") stem = "Patch";
  return stem;
}

}  // namespace

void checkPatchName(std::string_view name) {
  if (name.empty()) throw CGenericException(strings::NoPatchName);
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return c == 0 || static_cast<unsigned char>(c) > 0x7F; }))
    throw CGenericException(strings::UnsupportedCharacters);
}

void renameSlot(Library& library, std::size_t slot, std::string_view name) {
  checkPatchName(name);
  PatchData& data = library.slot(slot).data;
  const std::string_view cut = name.substr(0, patch::kNameLength);
  std::fill_n(data.bytes.begin(), patch::kNameLength, uint8_t{0});
  std::copy(cut.begin(), cut.end(), data.bytes.begin());
}

void moveSlot(Library& library, std::size_t from, std::size_t to) {
  const LibraryEntry moving = library.slot(from);
  (void)library.slot(to);  // both must exist before anything moves
  if (from < to)
    for (std::size_t i = from; i < to; ++i) library.slot(i) = library.slot(i + 1);
  else
    for (std::size_t i = from; i > to; --i) library.slot(i) = library.slot(i - 1);
  library.slot(to) = moving;
}

void copySlot(Library& library, std::size_t from, std::size_t to) {
  library.slot(to) = library.slot(from);
}

std::array<uint8_t, 5> storedHeader(const PatchData& p) {
  return {p[patch::kCompType], p[patch::kEffectType], p[patch::kDelayType], p[patch::kReverbType],
          0};
}

int findSlot(const Library& library, std::string_view text, int after) {
  const std::string wanted = lowerCase(std::string(text));
  const int count = static_cast<int>(library.size());
  for (int step = 1; !wanted.empty() && step <= count; ++step) {
    const int slot = ((after < 0 ? -1 : after) + step) % count;
    const std::string name = lowerCase(patchName(library.slot(std::size_t(slot)).data));
    if (name.find(wanted) != std::string::npos) return slot;
  }
  return -1;
}

bool isEmptySlot(const LibraryEntry& entry) {
  return patchName(entry.data) == "Empty";
}

std::vector<std::string> uniqueFileNames(const std::vector<std::string>& names,
                                         const std::vector<std::string>& taken,
                                         std::string_view extension) {
  std::vector<std::string> used;
  for (const std::string& t : taken) used.push_back(lowerCase(t));
  std::vector<std::string> result;
  for (const std::string& name : names) {
    const std::string stem = fileStem(name);
    std::string file = stem + std::string(extension);
    for (int n = 2; std::find(used.begin(), used.end(), lowerCase(file)) != used.end(); ++n)
      file = stem + " (" + std::to_string(n) + ")" + std::string(extension);
    used.push_back(lowerCase(file));
    result.push_back(file);
  }
  return result;
}

int slotAfterMove(int index, std::size_t from, std::size_t to) {
  if (index < 0) return index;
  const auto i = static_cast<std::size_t>(index);
  if (i == from) return static_cast<int>(to);
  if (from < to && i > from && i <= to) return index - 1;
  if (to < from && i >= to && i < from) return index + 1;
  return index;
}

}  // namespace orv
