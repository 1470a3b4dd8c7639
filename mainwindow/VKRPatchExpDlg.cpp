#include "mainwindow/VKRPatchExpDlg.h"

#include <QListWidget>
#include <algorithm>

#include "mainwindow/FileDialogs.h"
#include "mainwindow/MainWindowTexts.h"
#include "patch/Library.h"
#include "patch/StringTable.h"

namespace orv {

CVKRPatchExpDlg::CVKRPatchExpDlg(const Library& library, int preselected, IMessageBoxes& boxes,
                                 QWidget* parent)
    : SlotPickerDlg(library, boxes, parent), library_(library) {
  setObjectName(QStringLiteral("exportPatch"));
  Build(QStringLiteral("Export"), QStringLiteral("Export"), texts::kPickExportSlot, preselected);
  SlotList()->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

QString CVKRPatchExpDlg::ProposedFileName(const std::string& name) {
  QString proposed = QString::fromLatin1(name.substr(0, patch::kNameLength).c_str());
  for (QChar& c : proposed)
    if (QStringView(u"\\/*:?<>\"|").contains(c)) c = u'_';
  return proposed;
}

void CVKRPatchExpDlg::OnAction() {
  const QList<QListWidgetItem*> rows = SlotList()->selectedItems();
  if (rows.size() > 1) {
    for (const QListWidgetItem* row : rows) slots_.push_back(SlotList()->row(row));
    std::sort(slots_.begin(), slots_.end());
    accept();
    return;
  }
  const int slot = rows.isEmpty() ? -1 : SlotList()->row(rows.front());
  if (slot < 0) {
    ShowError(strings::NoPatchSelected);
    return;
  }
  entry_ = library_.slot(std::size_t(slot));
  path_ = FileDialogs(Boxes(), this).savePatch(ProposedFileName(patchName(entry_.data)));
  accept();
}

}  // namespace orv
