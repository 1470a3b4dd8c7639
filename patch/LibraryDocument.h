#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "patch/Library.h"

namespace orv {

class ILibraryHost;

// The library the main window owns: the current library, the copy it had when last created,
// loaded or saved, its path and name, the current slot, and whether File > Save is enabled.
// The commands New, Open, Save and Save as are made here; everything that needs a window goes
// through the host.
class LibraryDocument {
 public:
  // String ids of the questions and hints the commands use.
  static constexpr int kAskNew = 1001;
  static constexpr int kAskOpen = 1002;
  static constexpr int kHintImportPreset = 2000;

  explicit LibraryDocument(ILibraryHost& host) : host_(host) {}

  // Start-up: opens the library named by the settings (also when a library file was given on the
  // command line: should that one fail, the settings' library stays); otherwise makes a new
  // library, first showing the hint 2000 when no library was ever set up (`saved` = 0).
  void startUp(const std::filesystem::path& settingsPath, bool saved);

  // The New command: asks first when something would be lost; false when the user said No. The
  // current patch stays what it is, on the panel and on the amplifier, in no slot.
  bool commandNew();
  // A new library whose slots and current patch are the Init patch, without the question.
  void newLibrary();

  // The Open command with its file dialog, and the same with a given path (a dropped file or a
  // file from the command line). False when the user said No or cancelled.
  bool commandOpen();
  bool openFile(const std::filesystem::path& path);
  // Loads a library file. On failure the library stays exactly as it was when there was one;
  // otherwise a new library is made. The failure is reported through the host. True on success.
  bool openLibrary(const std::filesystem::path& path);

  // Save writes to the library's own file when it has one that exists, else runs Save as.
  // True when the library was written.
  bool commandSave();
  bool commandSaveAs();

  // Clear, Save to Library and importing a patch into a slot enable File > Save again.
  void enableSave() { saveEnabled_ = true; }
  // Undo and Redo put File > Save's state back with the slots.
  void setSaveEnabled(bool enabled) { saveEnabled_ = enabled; }

  // True when the library or the current patch holds changes that would be lost.
  bool hasPendingChanges() const;
  bool changed() const { return libraryChanged(library_, savedLibrary_); }

  Library& library() { return library_; }
  const Library& library() const { return library_; }
  const Library& savedLibrary() const { return savedLibrary_; }
  const std::filesystem::path& path() const { return path_; }
  // The library the settings name: the last one loaded or saved (or the settings' own at
  // start-up), none after New. A library that fails to load never takes its place.
  const std::filesystem::path& configuredPath() const { return configuredPath_; }
  const std::string& name() const { return name_; }
  bool saveEnabled() const { return saveEnabled_; }
  int currentSlot() const { return currentSlot_; }
  void setCurrentSlot(int slot) { currentSlot_ = slot; }
  std::vector<std::string> rows() const { return rowTexts(library_); }

 private:
  void makeNewLibrary();
  // A library of 100 Init slots made from `patch`; the current patch is not touched. Returns
  // the slots' patch.
  PatchData resetLibrary(PatchData patch);
  void setPath(const std::filesystem::path& path);
  bool writeTo(const std::filesystem::path& path);

  ILibraryHost& host_;
  Library library_;
  Library savedLibrary_;
  std::filesystem::path path_;
  std::filesystem::path configuredPath_;
  std::string name_;
  int currentSlot_ = -1;
  bool saveEnabled_ = false;
};

}  // namespace orv
