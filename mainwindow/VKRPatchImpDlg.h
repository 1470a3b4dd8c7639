#pragma once
#include <filesystem>

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
  const std::filesystem::path& GetPath() const { return path_; }

 protected:
  void OnAction() override;

 private:
  int chosenSlot_ = -1;
  std::filesystem::path path_;
};

}  // namespace orv
