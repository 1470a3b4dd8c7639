#include "mainwindow/UndoCommands.h"

#include "controls/VKRListBox.h"
#include "device/DeviceLink.h"
#include "device/SoundChanges.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MenuRules.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelRefresher.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/VKREditorDlg.h"

namespace orv {

EditHistory::Side UndoCommands::now() const {
  const DeviceLink& link = DeviceLink::instance();
  const LibraryDocument& doc = dlg_.library();
  EditHistory::Side side;
  side.sound = link.mirror();
  side.baseline = link.baseline();
  side.edited = link.edited();
  side.currentSlot = doc.currentSlot();
  side.saveEnabled = doc.saveEnabled();
  return side;
}

void UndoCommands::reset() {
  history_.clear();
  known_ = now();
  knownLibrary_ = dlg_.library().library();
  started_ = true;
  showItems();
}

void UndoCommands::capture(int control, bool library) {
  // Nothing is recorded before the set-up is done, nor once the window has let the link go.
  // While comparing the mirror holds the stored sound: the edited one, waiting aside, is what
  // the history knows, and it is back before anything can change it.
  if (!started_ || !dlg_.router_ || (dlg_.compare_ && dlg_.compare_->active())) return;
  EditHistory::Step step;
  step.control = control;
  step.at = DeviceLink::instance().now();  // the link's clock, which tests drive
  step.before = known_;
  step.after = now();
  const Library& current = dlg_.library().library();
  if (library && current != knownLibrary_) {
    step.changed = EditHistory::changedSlots(knownLibrary_, current);
    knownLibrary_ = current;
  }
  known_ = step.after;
  history_.record(std::move(step));
  showItems();
}

// Undo and Redo show whether there is a step to take also without their menu being opened (an
// assistive tool reads them from the menu as it is).
void UndoCommands::showItems() {
  const bool undo = canUndo(), redo = canRedo();
  if (undo == shownUndo_ && redo == shownRedo_) return;
  shownUndo_ = undo;
  shownRedo_ = redo;
  dlg_.menuRules().update(MainMenu::Undo);
  dlg_.menuRules().update(MainMenu::Redo);
}

void UndoCommands::undo() {
  // A change from the amplifier whose event has not come yet is the last change: it is taken
  // back, not overwritten unrecorded.
  capture();
  if (const EditHistory::Step* step = canUndo() ? history_.undo() : nullptr) take(*step, true);
}

void UndoCommands::redo() {
  capture();  // such a change ends what could be redone, as any change does
  if (const EditHistory::Step* step = canRedo() ? history_.redo() : nullptr) take(*step, false);
}

// Everything local comes first (mirror, slots, list, panel); the sends follow, so a failed send
// is reported with the window already showing the state it was taken to.
void UndoCommands::take(const EditHistory::Step& step, bool undo) {
  const EditHistory::Side& to = undo ? step.before : step.after;
  DeviceLink& link = DeviceLink::instance();
  const PatchData from = link.mirror();
  link.restore(to.sound, to.baseline, to.edited);

  LibraryDocument& doc = dlg_.library();
  if (step.changesLibrary()) {
    EditHistory::restoreSlots(doc.library(), step, undo);
    doc.setSaveEnabled(to.saveEnabled || doc.changed());
  }
  doc.setCurrentSlot(to.currentSlot);
  // Back at the sound as last loaded or stored, and its slot holds it: nothing is left to lose.
  // (A sound that came from the amplifier or a file is in no slot: it keeps its question.)
  if (link.mirror() == link.baseline() && SoundCompare::storedSound(doc).slot >= 0)
    link.setEdited(false);
  dlg_.libraryShown();
  const SoundChanges changes = SoundChanges::between(from, to.sound);
  showSound(step.loads(), changes);
  known_ = now();
  knownLibrary_ = doc.library();
  showItems();

  if (step.loads()) {
    link.sendWholePatch();
    return;
  }
  for (const auto& message : changes.messages) link.send(message);
}

// The panel follows as it does for a patch or a value received from the amplifier.
void UndoCommands::showSound(bool whole, const SoundChanges& changes) {
  const PatchData sound = DeviceLink::instance().mirror();
  if (whole) {
    LibraryEntry record;
    record.data = sound;
    dlg_.refresher().ShowRecord(record);
  } else {
    for (const int id : changes.parameters) dlg_.refresher().ShowParameter(id);
    if (changes.name) dlg_.setPatchName(QString::fromLatin1(patchName(sound).c_str()));
  }
  if (DeviceLink::instance().edited()) {
    dlg_.enableSaveToLibrary();
    if (CVKRListBox* list = dlg_.controls().libraryList()) list->SetCurSel(-1);
  }
}

}  // namespace orv
