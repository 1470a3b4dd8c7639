#include "mainwindow/VKRPatchImpDlg.h"

#include "mainwindow/FileDialogs.h"
#include "mainwindow/MainWindowTexts.h"
#include "patch/StringTable.h"

namespace orv {

CVKRPatchImpDlg::CVKRPatchImpDlg(const Library& library, int preselected, IMessageBoxes& boxes,
                                 QWidget* parent)
    : SlotPickerDlg(library, boxes, parent) {
  setObjectName(QStringLiteral("importPatch"));
  Build(QStringLiteral("Import"), QStringLiteral("Import"), texts::kPickImportSlot, preselected);
}

void CVKRPatchImpDlg::OnAction() {
  const int slot = SelectedSlot();
  if (slot < 0) {
    ShowError(strings::NoPatchSelected);
    return;
  }
  const auto paths = FileDialogs(Boxes(), this).openPatches();
  if (paths.empty()) {
    reject();
    return;
  }
  chosenSlot_ = slot;
  paths_ = paths;
  accept();
}

}  // namespace orv
