#include "patch/Library.h"

#include <algorithm>
#include <cstring>

namespace orv {

void Library::reset() {
  header_ = {'V', 'K', 'R', 'B', '0', '1', 0, 0};
  slots_.clear();
}

void Library::append(const LibraryEntry& entry) {
  slots_.push_back(entry);
  const uint16_t count = static_cast<uint16_t>(countField() + 1);
  header_[6] = static_cast<uint8_t>(count & 0xFF);
  header_[7] = static_cast<uint8_t>(count >> 8);
}

void Library::setKeptBytes(uint8_t first, uint8_t second) {
  header_[4] = first;
  header_[5] = second;
}

Library makeNewLibrary(const PatchData& patch) {
  LibraryEntry entry;
  entry.header = {};
  entry.data = patch;
  std::fill(entry.data.bytes.begin(), entry.data.bytes.begin() + patch::kNameLength, 0);
  std::memcpy(entry.data.bytes.data(), "Empty", 5);
  entry.modelCode = patch::kAnyModel;
  Library library;
  for (std::size_t i = 0; i < Library::kSlots; ++i) library.append(entry);
  return library;
}

std::string patchName(const PatchData& patch) {
  const auto* begin = reinterpret_cast<const char*>(patch.bytes.data());
  const auto* end = begin + patch::kNameLength;
  return std::string(begin, std::find(begin, end, '\0'));
}

std::string rowText(const Library& library, std::size_t i) {
  const std::size_t number = i + 1;
  std::string row;
  row.reserve(4 + patch::kNameLength);
  if (number < 1000) {
    row += static_cast<char>('0' + number / 100);
    row += static_cast<char>('0' + number / 10 % 10);
    row += static_cast<char>('0' + number % 10);
  } else {
    row += std::to_string(number);
  }
  row += ' ';
  row += patchName(library.slot(i).data);
  return row;
}

std::vector<std::string> rowTexts(const Library& library) {
  std::vector<std::string> rows;
  rows.reserve(library.size());
  for (std::size_t i = 0; i < library.size(); ++i) rows.push_back(rowText(library, i));
  return rows;
}

bool libraryChanged(const Library& current, const Library& saved) {
  if (current.header() != saved.header()) return true;
  for (std::size_t i = 0; i < Library::kSlots; ++i) {
    const bool inCurrent = i < current.size(), inSaved = i < saved.size();
    if (inCurrent != inSaved) return true;
    if (inCurrent && !samePatchData(current.slot(i), saved.slot(i))) return true;
  }
  return false;
}

}  // namespace orv
