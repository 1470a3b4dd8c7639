#pragma once
#include <filesystem>
#include <vector>

#include "mainwindow/SlotPickerDlg.h"

namespace orv {

// "Import": picks the slot a patch file goes into, then the file. Choosing a file closes the
// dialog with OK; cancelling the file dialog closes it with Cancel. The caller reads the file.
class CVKRPatchImpDlg : public SlotPickerDlg {
  Q_OBJECT

 public:
  CVKRPatchImpDlg(const Library& library, int preselected, IMessageBoxes& boxes,
                  QWidget* parent = nullptr);

  // After OK.
  int GetChosenSlot() const { return chosenSlot_; }
  const std::filesystem::path& GetPath() const { return paths_.front(); }
  // Every file chosen (patch files and SysEx files), in the order the dialog gave them.
  const std::vector<std::filesystem::path>& GetPaths() const { return paths_; }

 protected:
  void OnAction() override;

 private:
  int chosenSlot_ = -1;
  std::vector<std::filesystem::path> paths_;
};

}  // namespace orv
