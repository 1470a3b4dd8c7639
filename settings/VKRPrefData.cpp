#include "settings/VKRPrefData.h"

#include <cstdlib>
#include <iostream>
#include <system_error>

#include "settings/IniFile.h"

namespace orv {

namespace fs = std::filesystem;

namespace {
constexpr std::string_view kWindow = "Window", kLibrary = "Library", kMidi = "MIDI", kDial = "Dial";

// An environment value that names an absolute folder, or nothing.
fs::path absoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return {};
  fs::path p(value);
  return p.is_absolute() ? p : fs::path{};
}
}  // namespace

CVKRPrefData& CVKRPrefData::instance() {
  static CVKRPrefData record;
  return record;
}

fs::path CVKRPrefData::configFolder() {
  fs::path base = absoluteFromEnvironment("XDG_CONFIG_HOME");
  if (base.empty()) {
    const fs::path home = absoluteFromEnvironment("HOME");
    if (home.empty()) return {};
    base = home / ".config";
  }
  fs::path folder = base / "TAVOLIN" / "ORV Editor" / "config" / "";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) return {};
  }
  return folder;
}

fs::path CVKRPrefData::settingsFile() {
  const fs::path folder = configFolder();
  return folder.empty() ? fs::path(kFileName) : folder / kFileName;
}

void CVKRPrefData::read(const fs::path& file) {
  IniFile ini;
  std::error_code unreadable;
  ini.load(file, &unreadable);
  if (unreadable)
    std::cerr << "ORV Editor: the settings file cannot be read, the defaults apply: "
              << file.string() << ": " << unreadable.message() << std::endl;
  read(ini);
}

void CVKRPrefData::read(const IniFile& ini) {
  posX_ = ini.getInt(kWindow, "PosX", 0);
  posY_ = ini.getInt(kWindow, "PosY", 0);
  libraryPath_ = ini.getString(kLibrary, "Path");
  midiIn_ = ini.getString(kMidi, "In");
  midiOut_ = ini.getString(kMidi, "Out");
  dialType_ = ini.getInt(kDial, "Type", 1);
  saved_ = ini.getInt(kLibrary, "Saved", 0);
}

bool CVKRPrefData::write(const fs::path& file) const {
  // The file is read again first, so that whatever else it holds stays. A file that is there
  // but cannot be read is left alone: writing only our keys would lose the rest.
  IniFile ini;
  std::error_code unreadable;
  ini.load(file, &unreadable);
  if (unreadable) {
    std::cerr << "ORV Editor: the settings were not saved: " << file.string() << ": "
              << unreadable.message() << " (the file is left as it is)" << std::endl;
    return false;
  }
  if (ini.damaged()) {
    // What could be read was read at start-up; the rest is kept aside, not written over.
    fs::path backup = file;
    backup += ".bak";
    std::error_code failed;
    fs::copy_file(file, backup, fs::copy_options::overwrite_existing, failed);
    if (failed) {
      std::cerr << "ORV Editor: the settings file is damaged and could not be kept as "
                << backup.string() << ": " << failed.message()
                << "; the settings were not saved (the file is left as it is)" << std::endl;
      return false;
    }
    std::cerr << "ORV Editor: the settings file " << file.string()
              << " was damaged; the old file is kept as " << backup.string()
              << " and the settings are saved anew" << std::endl;
    ini.dropDamagedLines();
  }
  write(ini);
  return ini.save(file);
}

// In this order: PosX, PosY, Path, In, Out, Type, Saved.
void CVKRPrefData::write(IniFile& ini) const {
  ini.setInt(kWindow, "PosX", posX_);
  ini.setInt(kWindow, "PosY", posY_);
  ini.setString(kLibrary, "Path", libraryPath_);
  ini.setString(kMidi, "In", midiIn_);
  ini.setString(kMidi, "Out", midiOut_);
  ini.setInt(kDial, "Type", dialType_);
  ini.setInt(kLibrary, "Saved", saved_);
}

}  // namespace orv
