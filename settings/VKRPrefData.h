#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

class IniFile;

// The program's persistent settings: window position, library path, MIDI port names, knob mode
// and whether a library was ever set up. Read from "ORV Editor.ini" once at start-up and written
// back once when the main window closes; everything else works on the record in memory (take a
// copy, change it, assign it back to the process-wide record).
class CVKRPrefData {
 public:
  // Longest string the record holds; longer ones are cut.
  static constexpr std::size_t kMaxString = 2047;
  static constexpr std::string_view kFileName = "ORV Editor.ini";

  // All numbers 0 and all strings empty; the file's defaults apply only when reading.
  CVKRPrefData() = default;
  CVKRPrefData(const CVKRPrefData&) = default;
  CVKRPrefData& operator=(const CVKRPrefData&) = default;
  virtual ~CVKRPrefData() = default;

  // The process-wide record, created on first use.
  static CVKRPrefData& instance();

  // The per-user configuration folder: $XDG_CONFIG_HOME (else ~/.config) followed by
  // "TAVOLIN/ORV Editor/config/", created when missing. Empty when it cannot be had.
  static std::filesystem::path configFolder();
  // The settings file in that folder, or the bare file name when there is no folder.
  static std::filesystem::path settingsFile();

  // Fills the record from the file; missing keys (or a missing file) take their defaults.
  void read() { read(settingsFile()); }
  void read(const std::filesystem::path& file);
  // Writes all seven keys, keeping every other section and key of the file. Failures are not
  // reported to the user; false tells the caller. A file that is there but cannot be read is
  // not replaced; standard error says so. (Reading such a file gives the defaults and says so.)
  // A damaged file (lines that are no part of the format, see IniFile) is first copied to the
  // same name with ".bak" added, then written without those lines; standard error says so.
  bool write() const { return write(settingsFile()); }
  bool write(const std::filesystem::path& file) const;
  // The same on a file already in memory.
  void read(const IniFile& ini);
  void write(IniFile& ini) const;

  int32_t posX() const { return posX_; }
  int32_t posY() const { return posY_; }
  const std::string& libraryPath() const { return libraryPath_; }
  const std::string& midiIn() const { return midiIn_; }
  const std::string& midiOut() const { return midiOut_; }
  // Knob mode: 0 linear, 1 circular.
  int32_t dialType() const { return dialType_; }
  // 1 once a library has been set up, loaded or saved.
  int32_t saved() const { return saved_; }

  void setPosition(int32_t x, int32_t y) {
    posX_ = x;
    posY_ = y;
  }
  void setLibraryPath(std::string_view path) { libraryPath_ = cut(path); }
  void setMidiIn(std::string_view name) { midiIn_ = cut(name); }
  void setMidiOut(std::string_view name) { midiOut_ = cut(name); }
  void setDialType(int32_t type) { dialType_ = type; }
  void setSaved(int32_t saved) { saved_ = saved; }

  bool operator==(const CVKRPrefData&) const = default;

 private:
  static std::string cut(std::string_view s) { return std::string(s.substr(0, kMaxString)); }

  int32_t posX_ = 0;
  int32_t posY_ = 0;
  std::string libraryPath_;
  std::string midiIn_;
  std::string midiOut_;
  int32_t dialType_ = 0;
  int32_t saved_ = 0;
};

}  // namespace orv
