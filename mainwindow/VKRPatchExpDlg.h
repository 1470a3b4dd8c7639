#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/SlotPickerDlg.h"
#include "patch/PatchData.h"

namespace orv {

// "Export": picks a slot, then the patch file to write it to, proposing the slot's name as the
// file name. The dialog closes with OK whether a file was chosen or the file dialog was
// cancelled; the caller writes the file when there is a path.
class CVKRPatchExpDlg : public SlotPickerDlg {
  Q_OBJECT

 public:
  CVKRPatchExpDlg(const Library& library, int preselected, IMessageBoxes& boxes,
                  QWidget* parent = nullptr);

  // The file name proposed for a slot named `name`: at most 64 characters, with \ / * : ? < > "
  // and | each replaced by "_".
  static QString ProposedFileName(const std::string& name);

  // After OK: a copy of the chosen slot, and the path when one was chosen.
  const LibraryEntry& GetEntry() const { return entry_; }
  const std::optional<std::filesystem::path>& GetPath() const { return path_; }
  // After OK with several rows selected (Ctrl or Shift click, Ctrl+A for all): their slots in
  // order, and no entry or path; LibraryExchange writes them.
  const std::vector<int>& GetSlots() const { return slots_; }

 protected:
  void OnAction() override;

 private:
  const Library& library_;
  LibraryEntry entry_;
  std::optional<std::filesystem::path> path_;
  std::vector<int> slots_;
};

}  // namespace orv
