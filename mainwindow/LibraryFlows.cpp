#include "mainwindow/LibraryFlows.h"

#include <QLineEdit>
#include <algorithm>

#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRPullDownMenu.h"
#include "device/DeviceLink.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/VKREditorDlg.h"
#include "mainwindow/VKRPatchExpDlg.h"
#include "mainwindow/VKRPatchImpDlg.h"
#include "mainwindow/VKRSaveToLibraryDlg.h"
#include "patch/GenericException.h"
#include "patch/LibraryFile.h"
#include "patch/StringTable.h"

namespace orv {

namespace {

constexpr int kYesNoCancel = IMessageBoxes::Yes | IMessageBoxes::No | IMessageBoxes::Cancel;

// A patch name may be empty; otherwise it starts with a non-zero character and holds none
// above 127.
bool storableName(const QString& name) {
  if (name.isEmpty()) return true;
  return name.front().unicode() != 0 &&
         std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 127; });
}

QString nameOf(const PatchData& patch) {
  return QString::fromLatin1(patchName(patch).c_str());
}

}  // namespace

CVKRListBox* LibraryFlows::list() const {
  return dlg_.controls().libraryList();
}

// ---------------------------------------------------------------------------------------------
// Picking a slot

void LibraryFlows::SelectSlot(int index) {
  LibraryDocument& doc = dlg_.library();
  CVKRListBox* l = list();
  if (!l || index < 0 || index >= static_cast<int>(doc.library().size())) return;
  const int top = l->GetTopIndex();
  doc.setCurrentSlot(index);
  if (dlg_.connectedIndicator() &&
      !acceptForModel(doc.library().slot(std::size_t(index)), true, dlg_.modelCode(), dlg_))
    return;  // the row stays selected; panel and amplifier keep the old patch
  if (dlg_.patchEdited() && !answerSaveBeforeLoad(index, top)) return;
  if (!dlg_.patchEdited()) {
    // After a "Save" answer this is the slot just stored into, not the row that was clicked.
    const LibraryEntry& entry = doc.library().slot(std::size_t(doc.currentSlot()));
    if (!fitsAmpTypeKnob(entry.data)) {
      l->SetCurSel(-1);
      return;
    }
    showPatch(entry);
    dlg_.enableSaveToLibrary();
  }
  dlg_.showCentredName();
}

bool LibraryFlows::answerSaveBeforeLoad(int index, int top) {
  CVKRListBox* l = list();
  switch (dlg_.ask(texts::kAskSaveBeforeLoad, IMessageBoxes::Icon::Exclamation, kYesNoCancel,
                   /*saveLabels=*/true)) {
    case IMessageBoxes::Yes:
      // A cancelled save dialog leaves the patch edited: nothing is loaded, no row shows.
      if (storeClearingSelectionOnFailure(true) != Stored::Yes) l->SetCurSel(-1);
      return true;
    case IMessageBoxes::No:
      dlg_.libraryShown();
      l->SetCurSel(index);
      l->SetTopIndex(top);
      dlg_.setPatchEdited(false);
      return true;
    default:
      l->SetCurSel(-1);
      return false;
  }
}

bool LibraryFlows::fitsAmpTypeKnob(const PatchData& patch) {
  const CVKRDial* knob = dlg_.controls().ampTypeKnob();
  return acceptAmpType(patch, knob ? knob->GetMax() : 7, dlg_);
}

void LibraryFlows::showPatch(const LibraryEntry& entry) {
  dlg_.loadCurrentPatch(entry.data);
  dlg_.refresher().ShowRecord(entry);
}

void LibraryFlows::showSlot(int slot) {
  dlg_.library().setCurrentSlot(slot);
  dlg_.libraryShown();
}

// ---------------------------------------------------------------------------------------------
// Storing the current patch

void LibraryFlows::SaveToLibrary() {
  storeCurrentPatch(true);
}

LibraryFlows::Stored LibraryFlows::storeClearingSelectionOnFailure(bool firstForm) {
  try {
    return storeCurrentPatch(firstForm);
  } catch (...) {
    if (CVKRListBox* l = list()) l->SetCurSel(-1);
    throw;
  }
}

LibraryFlows::Stored LibraryFlows::storeCurrentPatch(bool firstForm) {
  if (firstForm && !dlg_.modelKnown()) {
    dlg_.showMessage(strings::InvalidModel, IMessageReporter::Icon::Exclamation);
    return Stored::Refused;
  }
  const QLineEdit* edit = dlg_.controls().nameEdit();
  const QString typed = edit ? edit->text().left(int(patch::kNameLength)) : dlg_.patchName();
  if (!storableName(typed)) throw CGenericException(strings::UnsupportedCharacters);
  // The skinned buttons take no focus, so the name edit may not have been committed yet.
  dlg_.commitName();

  LibraryEntry entry;
  entry.data = dlg_.currentPatch();
  entry.modelCode = 0;
  LibraryDocument& doc = dlg_.library();
  CVKRSaveToLibraryDlg box(doc.library(), -1, entry, dlg_.patchName(), dlg_.messageBoxes(), &dlg_);
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted) return Stored::Cancelled;

  if (box.GetName() != dlg_.patchName()) dlg_.renamePatch(box.GetName());
  doc.setCurrentSlot(box.GetChosenSlot());
  completeStoredEntry(box.GetChosenSlot(), firstForm && dlg_.modelKnown());
  dlg_.enableSaveToLibrary();
  dlg_.libraryShown();
  dlg_.pushNameToEdit();
  dlg_.setPatchEdited(false);
  doc.enableSave();
  return Stored::Yes;
}

void LibraryFlows::completeStoredEntry(int slot, bool withModel) {
  if (slot < 0) return;
  LibraryEntry& entry = dlg_.library().library().slot(std::size_t(slot));
  PanelControls& c = dlg_.controls();
  auto shown = [&](int id) {
    const CVKRPullDownMenu* p = c.pullDown(id);
    return static_cast<uint8_t>(p ? p->GetSelection() : 0);
  };
  entry.header[0] = shown(1033);
  // The effect pull-down lists Phaser before Tremolo; the data has them the other way round.
  entry.header[1] = effectListToData(shown(1034));
  entry.header[2] = shown(1035);
  entry.header[3] = shown(1036);
  if (withModel) entry.modelCode = static_cast<uint8_t>(dlg_.modelCode());
}

// ---------------------------------------------------------------------------------------------
// Clear

void LibraryFlows::ClearSlot() {
  CVKRListBox* l = list();
  const int index = l ? l->GetCurSel() : -1;
  LibraryDocument& doc = dlg_.library();
  if (index < 0 || index >= static_cast<int>(doc.library().size())) return;
  PatchData patch = dlg_.currentPatch();
  initPatch("Init", patch);
  dlg_.loadCurrentPatch(patch);  // a failed send is reported once the slot is cleared
  LibraryEntry entry;
  entry.data = patch;
  entry.modelCode = patch::kAnyModel;
  doc.library().slot(std::size_t(index)) = entry;
  dlg_.refresher().NeutralRefresh();
  l->SetString(index, QString::fromLatin1(rowText(doc.library(), std::size_t(index)).c_str()));
  l->SetCurSel(index);
  doc.setCurrentSlot(index);
  dlg_.setPatchName(nameOf(patch));
  dlg_.setPatchEdited(false);
  doc.enableSave();
  dlg_.pushNameToEdit();
}

// ---------------------------------------------------------------------------------------------
// Import and export

bool LibraryFlows::currentPatchMayBeReplaced() {
  if (!dlg_.patchEdited()) return true;
  switch (dlg_.ask(texts::kAskSaveBeforeImport, IMessageBoxes::Icon::Exclamation, kYesNoCancel,
                   /*saveLabels=*/true)) {
    case IMessageBoxes::Yes:
      return storeClearingSelectionOnFailure(false) == Stored::Yes;
    case IMessageBoxes::No:
      return true;
    default:
      return false;
  }
}

void LibraryFlows::Import() {
  if (!currentPatchMayBeReplaced()) return;
  LibraryDocument& doc = dlg_.library();
  CVKRPatchImpDlg box(doc.library(), doc.currentSlot(), dlg_.messageBoxes(), &dlg_);
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted) return;
  LibraryEntry entry;
  readPatchFile(entry, box.GetPath());
  if (!acceptForModel(entry, dlg_.connectedIndicator(), dlg_.modelCode(), dlg_)) return;
  doc.library().slot(std::size_t(box.GetChosenSlot())) = entry;
  doc.enableSave();
  showSlot(box.GetChosenSlot());
  if (!fitsAmpTypeKnob(entry.data)) {
    list()->SetCurSel(-1);  // the slot keeps the patch; the current patch stays
    return;
  }
  showPatch(entry);
  dlg_.setPatchEdited(false);
}

void LibraryFlows::Export() {
  LibraryDocument& doc = dlg_.library();
  CVKRPatchExpDlg box(doc.library(), doc.currentSlot(), dlg_.messageBoxes(), &dlg_);
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted || !box.GetPath()) return;
  writePatchFile(box.GetEntry(), *box.GetPath());
}

// ---------------------------------------------------------------------------------------------
// Patch files from outside

void LibraryFlows::OpenPatchFile(const std::filesystem::path& path,
                                 std::optional<int> droppedOnRow) {
  if (droppedOnRow) {
    StorePatchFile(path, *droppedOnRow);
    return;
  }
  if (!currentPatchMayBeReplaced()) return;
  LibraryEntry entry;
  readPatchFile(entry, path);
  if (!acceptForModel(entry, dlg_.connectedIndicator(), dlg_.modelCode(), dlg_)) return;
  if (!fitsAmpTypeKnob(entry.data)) return;
  showPatch(entry);
  dlg_.setPatchEdited(true);
  dlg_.PatchTouched();  // no slot holds this patch
}

// A patch file dropped on the list goes into a slot, whatever the current patch holds.
void LibraryFlows::StorePatchFile(const std::filesystem::path& path, int row) {
  LibraryEntry entry;
  readPatchFile(entry, path);
  LibraryDocument& doc = dlg_.library();
  CVKRSaveToLibraryDlg box(doc.library(), row >= 0 ? row : doc.currentSlot(), entry,
                           nameOf(entry.data), dlg_.messageBoxes(), &dlg_);
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted) return;
  doc.enableSave();
  showSlot(box.GetChosenSlot());
  const LibraryEntry& stored = doc.library().slot(std::size_t(box.GetChosenSlot()));
  if (!acceptForModel(stored, dlg_.connectedIndicator(), dlg_.modelCode(), dlg_) ||
      !fitsAmpTypeKnob(stored.data)) {
    list()->SetCurSel(-1);
    return;
  }
  showPatch(stored);
  dlg_.setPatchEdited(false);
  dlg_.enableSaveToLibrary();
}

}  // namespace orv
