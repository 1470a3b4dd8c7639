#pragma once
#include <filesystem>
#include <optional>

#include "patch/PatchData.h"

namespace orv {

class CGenericException;

// What the library commands need from the main window: questions, file dialogs, error boxes and
// the current patch held by the device link. The main window implements it; tests record calls.
class ILibraryHost {
 public:
  virtual ~ILibraryHost() = default;

  // A Yes/No question with the exclamation icon, showing the string-table text `stringId`.
  // True for Yes.
  virtual bool askYesNo(int stringId) = 0;
  // A message with the exclamation icon and an OK button (the start-up hint 2000).
  virtual void showHint(int stringId) = 0;
  // The error box for a failure: the text whose string id is the failure's code.
  virtual void reportFailure(const CGenericException& failure) = 0;

  // File dialogs for library files ("Library Files (*.ZBL)", default extension ".ZBL");
  // the save dialog asks before overwriting. No value: the user cancelled.
  virtual std::optional<std::filesystem::path> chooseLibraryToOpen() = 0;
  virtual std::optional<std::filesystem::path> chooseLibraryToSave() = 0;
  // The first start's Open dialog, begun in the folder of the shipped starter libraries. No
  // value: cancelled, or no starter library is installed.
  virtual std::optional<std::filesystem::path> chooseStarterLibrary() { return std::nullopt; }

  // The current patch and its edited flag.
  virtual bool patchEdited() const = 0;
  // The current patch has changes that no amplifier and no slot holds: closing the window now
  // would lose them.
  virtual bool soundOnlyHere() const = 0;
  virtual void setPatchEdited(bool edited) = 0;
  virtual PatchData currentPatch() const = 0;
  // Makes `patch` the current patch, sends it whole to the amplifier and shows its name.
  virtual void loadCurrentPatch(const PatchData& patch) = 0;

  // The library, its name or its path changed: rebuild the list rows, select the current slot's
  // row and show the library name.
  virtual void libraryShown() = 0;
  // Sets the settings value Saved (section Library) to 1.
  virtual void markLibrarySetUp() = 0;
};

}  // namespace orv
