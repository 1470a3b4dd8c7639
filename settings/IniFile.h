#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace orv {

// A small reader and writer of initialisation files: sections in square brackets, lines of the
// form key=value, no escaping. Section and key names match without regard to ASCII case, blanks
// around names and values are ignored, and the first of duplicate sections or keys counts.
// Every line the program does not set (comments, other sections and keys) is kept as it was.
class IniFile {
 public:
  // Longest string value handed out; longer values are cut.
  static constexpr std::size_t kMaxString = 2047;

  // Reads a file; a missing or unreadable file gives an empty one (false). `failure`, when
  // given, receives the system's reason when the file is there but cannot be read (a missing
  // file is no failure).
  bool load(const std::filesystem::path& path, std::error_code* failure = nullptr);
  void parse(std::string_view text);
  // Writes the file atomically; false when it could not be written.
  bool save(const std::filesystem::path& path) const;
  std::string text() const;

  // Missing keys give the default. Strings are cut at kMaxString characters. Integers are read
  // from the leading decimal digits (with an optional sign); a value that is not a number reads
  // as 0.
  std::string getString(std::string_view section, std::string_view key,
                        std::string_view fallback = {}) const;
  int32_t getInt(std::string_view section, std::string_view key, int32_t fallback) const;
  bool has(std::string_view section, std::string_view key) const;

  // Damaged lines are none of these: blank, comment, section header, key=value; or they hold
  // control characters other than tabs (binary garbage). Reading skips them.
  bool damaged() const;
  void dropDamagedLines();

  // Sets a key, adding the key and its section when missing. A value that holds a line break
  // cannot be stored without escaping; it is stored empty and false is returned.
  bool setString(std::string_view section, std::string_view key, std::string_view value);
  void setInt(std::string_view section, std::string_view key, int32_t value);

 private:
  struct Line {
    std::string text;
    std::string section;  // the section the line belongs to (empty before the first)
    bool isSectionHeader = false;
  };
  std::optional<std::size_t> sectionIndex(std::string_view section) const;
  std::optional<std::size_t> keyIndex(std::string_view section, std::string_view key) const;
  const Line* find(std::string_view section, std::string_view key) const;
  std::vector<Line> lines_;
};

}  // namespace orv
