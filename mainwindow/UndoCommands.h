#pragma once
#include "patch/EditHistory.h"
#include "patch/Library.h"

namespace orv {

class CVKREditorDlg;
struct SoundChanges;

// Edit > Undo and Redo over the editor's one history of the sound and the library.
//
// The window calls capture() after each gesture, menu command, list command and device event;
// whatever changed since the last call (the sound, its baseline, the current slot, the library's
// slots) becomes one step. Undo and Redo put the state of a step's other side back: the device
// link's mirror, the slots, the current slot and File > Save. The amplifier follows: a Parameter
// Change for every value that changes, or the whole patch when the step loaded a sound.
class UndoCommands {
 public:
  explicit UndoCommands(CVKREditorDlg& dlg) : dlg_(dlg) {}

  // The history starts over from what the window holds now (set-up done, New, Open).
  void reset();
  // Records what changed since the last call. `control`: the gesture's control, whose next
  // gestures within half a second join this step (0: none); `library`: the slots are compared
  // too (menu and list commands).
  void capture(int control = 0, bool library = false);

  bool canUndo() const { return started_ && history_.canUndo(); }
  bool canRedo() const { return started_ && history_.canRedo(); }
  void undo();
  void redo();

  const EditHistory& history() const { return history_; }

 private:
  EditHistory::Side now() const;
  void take(const EditHistory::Step& step, bool undo);
  void showSound(bool whole, const SoundChanges& changes);
  void showItems();

  CVKREditorDlg& dlg_;
  EditHistory history_;
  EditHistory::Side known_;  // the state as the last step left it
  Library knownLibrary_;
  bool started_ = false;
  bool shownUndo_ = true;  // what Undo and Redo were last set to show
  bool shownRedo_ = true;
};

}  // namespace orv
