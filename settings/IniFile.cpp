#include "settings/IniFile.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "patch/AtomicFile.h"
#include "patch/RegularFile.h"

namespace orv {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

// The name of a section header line "[name]", if the line is one.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

// Key and value of a "key=value" line; comments and lines without "=" have none.
bool splitKeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return false;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = trim(line.substr(0, eq));
  value = trim(line.substr(eq + 1));
  return !key.empty();
}

}  // namespace

bool IniFile::load(const std::filesystem::path& path, std::error_code* failure) {
  lines_.clear();
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  const std::error_code reason =
      readRegularFile(path, std::numeric_limits<std::size_t>::max(), bytes, size);
  if (!reason) parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (failure)
    *failure = reason == std::errc::no_such_file_or_directory ? std::error_code{} : reason;
  return !reason;
}

void IniFile::parse(std::string_view text) {
  lines_.clear();
  std::string current;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    Line l{std::string(line), current, false};
    if (const auto name = sectionName(line)) {
      current = std::string(*name);
      l.section = current;
      l.isSectionHeader = true;
    }
    lines_.push_back(std::move(l));
  }
}

std::string IniFile::text() const {
  std::string out;
  for (const Line& l : lines_) {
    out += l.text;
    out += '\n';
  }
  return out;
}

bool IniFile::save(const std::filesystem::path& path) const {
  const std::string out = text();
  return replaceFileAtomically(path,
                               std::span(reinterpret_cast<const uint8_t*>(out.data()), out.size()));
}

std::optional<std::size_t> IniFile::sectionIndex(std::string_view section) const {
  // Only the first section of a name counts.
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].isSectionHeader && sameName(lines_[i].section, section)) return i;
  return std::nullopt;
}

std::optional<std::size_t> IniFile::keyIndex(std::string_view section, std::string_view key) const {
  const auto header = sectionIndex(section);
  if (!header) return std::nullopt;
  for (std::size_t i = *header + 1; i < lines_.size() && !lines_[i].isSectionHeader; ++i) {
    std::string_view k, v;
    if (splitKeyValue(lines_[i].text, k, v) && sameName(k, key)) return i;
  }
  return std::nullopt;
}

const IniFile::Line* IniFile::find(std::string_view section, std::string_view key) const {
  const auto i = keyIndex(section, key);
  return i ? &lines_[*i] : nullptr;
}

bool IniFile::has(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  std::string_view k, value = fallback;
  if (const Line* l = find(section, key)) splitKeyValue(l->text, k, value);
  return std::string(value.substr(0, std::min(value.size(), kMaxString)));
}

int32_t IniFile::getInt(std::string_view section, std::string_view key, int32_t fallback) const {
  const Line* l = find(section, key);
  if (!l) return fallback;
  std::string_view k, v;
  splitKeyValue(l->text, k, v);
  bool negative = false;
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  long long n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') break;
    n = std::min<long long>(n * 10 + (c - '0'), 1ll << 32);  // saturate well past int32
  }
  if (negative) n = -n;
  return static_cast<int32_t>(std::clamp<long long>(n, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool IniFile::setString(std::string_view section, std::string_view key, std::string_view value) {
  const bool storable = value.find('\n') == std::string_view::npos;
  if (!storable) value = {};
  std::string text(key);
  text += '=';
  text += value;
  if (const auto found = keyIndex(section, key)) {
    lines_[*found].text = std::move(text);
    return storable;
  }
  const auto header = sectionIndex(section);
  if (!header) {
    std::string header = "[";
    header += section;
    header += ']';
    lines_.push_back({std::move(header), std::string(section), true});
    lines_.push_back({std::move(text), std::string(section), false});
    return storable;
  }
  // After the section's last line that is not blank.
  std::size_t end = *header + 1;
  while (end < lines_.size() && !lines_[end].isSectionHeader) ++end;
  while (end > *header + 1 && trim(lines_[end - 1].text).empty()) --end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end),
                Line{std::move(text), lines_[*header].section, false});
  return storable;
}

void IniFile::setInt(std::string_view section, std::string_view key, int32_t value) {
  setString(section, key, std::to_string(value));
}

}  // namespace orv
