#include "mainwindow/VKRSaveToLibraryDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <algorithm>

#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/PatchNameGuard.h"
#include "patch/Library.h"
#include "patch/StringTable.h"

namespace orv {

CVKRSaveToLibraryDlg::CVKRSaveToLibraryDlg(Library& library, int preselected, LibraryEntry& entry,
                                           const QString& name, IMessageBoxes& boxes,
                                           QWidget* parent)
    : SlotPickerDlg(library, boxes, parent), library_(library), entry_(entry) {
  setObjectName(QStringLiteral("saveToLibrary"));
  nameEdit_ = new QLineEdit(name, this);
  nameEdit_->setAccessibleName(QStringLiteral("Patch name"));
  PatchNameGuard::guard(nameEdit_);
  Build(QStringLiteral("Save To Library"), QStringLiteral("Save"), texts::kPickSaveSlot,
        preselected, nameEdit_);
  // Storing replaces a slot: only the button does it, never a double-click on a row.
  disconnect(SlotList(), &QListWidget::itemDoubleClicked, this, nullptr);
}

void CVKRSaveToLibraryDlg::OnAction() {
  const QString name = nameEdit_->text();
  if (name.isEmpty()) {
    ShowError(strings::NoPatchName);
    return;
  }
  if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 127; })) {
    ShowError(strings::UnsupportedCharacters);
    return;
  }
  const int slot = SelectedSlot();
  if (slot < 0 || slot >= static_cast<int>(library_.size())) return;
  const QByteArray bytes = name.left(int(patch::kNameLength)).toLatin1();
  std::fill_n(entry_.data.bytes.begin(), patch::kNameLength, uint8_t{0});
  std::copy(bytes.begin(), bytes.end(), entry_.data.bytes.begin());
  library_.slot(std::size_t(slot)) = entry_;
  name_ = name;
  chosenSlot_ = slot;
  accept();
}

}  // namespace orv
