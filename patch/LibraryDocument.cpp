#include "patch/LibraryDocument.h"

#include <optional>
#include <system_error>

#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/LibraryHost.h"

namespace orv {

namespace fs = std::filesystem;

namespace {

bool refusedAsReadOnly(const CGenericException& failure) {
  const std::error_code& reason = failure.reason();
  return reason == std::errc::permission_denied || reason == std::errc::read_only_file_system ||
         reason == std::errc::operation_not_permitted;
}

}  // namespace

void LibraryDocument::startUp(const fs::path& settingsPath, bool saved) {
  configuredPath_ = settingsPath;
  if (!settingsPath.empty()) {
    openLibrary(settingsPath);  // a failure leaves a new library
    return;
  }
  if (!saved) {
    host_.showHint(kHintImportPreset);
    const std::optional<fs::path> starter = host_.chooseStarterLibrary();
    if (starter && openLibrary(*starter)) {  // a failure has left a new library
      host_.markLibrarySetUp();
      return;
    }
  }
  newLibrary();
}

bool LibraryDocument::hasPendingChanges() const {
  return changed() || host_.soundOnlyHere();
}

// A new library changes no sound: the patch on the panel and on the amplifier stays, and the
// edited flag keeps telling whether it is stored anywhere.
bool LibraryDocument::commandNew() {
  if (hasPendingChanges() && !host_.askYesNo(kAskNew)) return false;
  setPath({});
  configuredPath_.clear();
  currentSlot_ = -1;
  resetLibrary(host_.currentPatch());
  saveEnabled_ = false;
  host_.markLibrarySetUp();
  return true;
}

void LibraryDocument::newLibrary() {
  setPath({});
  currentSlot_ = -1;
  makeNewLibrary();
  host_.setPatchEdited(false);
  saveEnabled_ = false;
  host_.markLibrarySetUp();
}

// The current patch becomes the Init patch and is sent; the library gets 100 copies of it.
// The library is complete before the patch is sent, so that a failed send cannot leave it short.
void LibraryDocument::makeNewLibrary() {
  host_.loadCurrentPatch(resetLibrary(host_.currentPatch()));
}

PatchData LibraryDocument::resetLibrary(PatchData patch) {
  initPatch(std::nullopt, patch);
  library_ = orv::makeNewLibrary(patch);
  savedLibrary_ = library_;
  host_.libraryShown();
  return patch;
}

bool LibraryDocument::commandOpen() {
  if (hasPendingChanges() && !host_.askYesNo(kAskOpen)) return false;
  const std::optional<fs::path> path = host_.chooseLibraryToOpen();
  if (!path) return false;
  currentSlot_ = -1;
  const bool loaded = openLibrary(*path);
  host_.markLibrarySetUp();
  return loaded;
}

bool LibraryDocument::openFile(const fs::path& path) {
  if (hasPendingChanges() && !host_.askYesNo(kAskOpen)) return false;
  currentSlot_ = -1;
  const bool loaded = openLibrary(path);
  host_.markLibrarySetUp();
  return loaded;
}

bool LibraryDocument::openLibrary(const fs::path& path) {
  Library read;
  try {
    readLibrary(read, path);
  } catch (const CGenericException& failure) {
    // A bad file never costs the library that was open: it stays as it was, unsaved changes
    // and Save state included. Only when there was none is a new one made.
    if (library_.empty()) {
      setPath({});
      makeNewLibrary();
      saveEnabled_ = false;
    } else {
      host_.libraryShown();
    }
    host_.reportFailure(failure);
    return false;
  }
  library_ = std::move(read);
  savedLibrary_ = library_;
  setPath(path);
  configuredPath_ = path;
  saveEnabled_ = false;
  host_.libraryShown();
  return true;
}

bool LibraryDocument::commandSave() {
  std::error_code ec;
  if (path_.empty() || !fs::exists(path_, ec)) return commandSaveAs();
  try {
    writeLibrary(library_, path_);
  } catch (const CGenericException& failure) {
    // A library that may not be written (a shipped one, a read-only copy) is saved elsewhere.
    if (refusedAsReadOnly(failure)) return commandSaveAs();
    host_.reportFailure(failure);
    return false;
  }
  savedLibrary_ = library_;
  saveEnabled_ = false;
  return true;
}

bool LibraryDocument::commandSaveAs() {
  const std::optional<fs::path> path = host_.chooseLibraryToSave();
  if (!path) return false;
  if (!writeTo(*path)) return false;
  host_.markLibrarySetUp();
  setPath(*path);
  configuredPath_ = *path;
  savedLibrary_ = library_;
  saveEnabled_ = false;
  host_.libraryShown();
  return true;
}

bool LibraryDocument::writeTo(const fs::path& path) {
  try {
    writeLibrary(library_, path);
    return true;
  } catch (const CGenericException& failure) {
    host_.reportFailure(failure);
    return false;
  }
}

void LibraryDocument::setPath(const fs::path& path) {
  path_ = path;
  name_ = path.stem().string();
}

}  // namespace orv
