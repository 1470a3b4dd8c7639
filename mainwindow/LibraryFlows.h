#pragma once
#include <filesystem>
#include <optional>

namespace orv {

class CVKREditorDlg;
class CVKRListBox;
struct LibraryEntry;
struct PatchData;

// The main window's library flows: picking a slot, storing the current patch into the library,
// clearing a slot, importing and exporting single patches, and patch files that arrive by a drop,
// on the command line or from a second instance. The window owns the state; this class runs the
// steps in order and leaves the window consistent when a step refuses or fails.
//
// Whole-patch sends go through the window, which holds a failed send back until the local part
// of the command is done; the flows themselves only throw file and name failures.
class LibraryFlows {
 public:
  enum class Stored { Yes, Cancelled, Refused };

  explicit LibraryFlows(CVKREditorDlg& dlg) : dlg_(dlg) {}

  // A row of the library list was picked (left click, keys or right press).
  void SelectSlot(int index);
  // Save To Library: the button, the menu item and Ctrl+Alt+S.
  void SaveToLibrary();
  // Clear from the list's context menu, on the selected row.
  void ClearSlot();
  void Import();
  void Export();
  // A patch file. Dropped on the list it is offered for storing into a slot (no question), the
  // row it fell on preselected (-1: the current slot); otherwise it becomes the current, edited
  // patch after the save question.
  void OpenPatchFile(const std::filesystem::path& path, std::optional<int> droppedOnRow);

 private:
  // A patch file dropped on the list: stored into a slot, then loaded.
  void StorePatchFile(const std::filesystem::path& path, int row);
  // Stores the current patch through the save-to-library dialog. The first form needs an
  // identified amplifier and stores its model code; the second (import, dropped patch) does not.
  Stored storeCurrentPatch(bool firstForm);
  // Completes what the dialog stored in `slot`: section types into the header, the model byte.
  void completeStoredEntry(int slot, bool withModel);
  // The 1004 question before a patch file replaces the current patch; false: stop.
  bool currentPatchMayBeReplaced();
  // storeCurrentPatch, clearing the list's selection when it throws.
  Stored storeClearingSelectionOnFailure(bool firstForm);
  // The slot's patch becomes the current patch: mirror, amplifier, panel.
  void showPatch(const LibraryEntry& entry);
  // The 1003 question of a slot pick; false: nothing is loaded.
  bool answerSaveBeforeLoad(int index, int top);
  bool fitsAmpTypeKnob(const PatchData& patch);
  // The current slot becomes `slot` and the list is refilled with its row selected.
  void showSlot(int slot);
  CVKRListBox* list() const;

  CVKREditorDlg& dlg_;
};

}  // namespace orv
