#include "DescriptionFile.h"

#include <fstream>
#include <stdexcept>

namespace orv::helpdoc {

namespace {

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool validKey(const std::string& key) {
  if (key.empty()) return false;
  for (char c : key)
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-')) return false;
  return true;
}

}  // namespace

DescriptionFile DescriptionFile::read(std::istream& in, const std::string& name) {
  DescriptionFile file;
  std::string line, last;
  int number = 0;
  const auto fail = [&](const std::string& what) {
    throw std::runtime_error(name + ":" + std::to_string(number) + ": " + what);
  };
  while (std::getline(in, line)) {
    ++number;
    const std::string text = trimmed(line);
    if (text.empty() || text[0] == '#') continue;
    if (line[0] == ' ' || line[0] == '\t') {  // continues the text of the entry above
      if (last.empty()) fail("continuation line without an entry above it");
      file.texts_[last] += " " + text;
      continue;
    }
    const std::size_t equals = text.find('=');
    const std::string key = trimmed(text.substr(0, equals));
    if (equals == std::string::npos || !validKey(key))
      fail("expected 'key = text' with a key of a-z, 0-9, '.' and '-'");
    const std::string value = trimmed(text.substr(equals + 1));
    if (value.empty()) fail("'" + key + "' has no text");
    if (!file.texts_.emplace(key, value).second) fail("'" + key + "' is given twice");
    last = key;
  }
  return file;
}

DescriptionFile DescriptionFile::load(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  return read(in, path);
}

const std::string* DescriptionFile::find(const std::string& key) const {
  const auto at = texts_.find(key);
  return at == texts_.end() ? nullptr : &at->second;
}

std::vector<std::string> DescriptionFile::keys() const {
  std::vector<std::string> keys;
  for (const auto& [key, text] : texts_) keys.push_back(key);
  return keys;
}

}  // namespace orv::helpdoc
