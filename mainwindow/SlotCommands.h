#pragma once
#include <QKeySequence>
#include <QObject>
#include <functional>
#include <optional>

#include "patch/PatchData.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace orv {

class CVKREditorDlg;
class CVKRListBox;

// Organising the library's slots from its list: Rename... (F2), Copy Slot (Ctrl+C), Paste Slot
// (Ctrl+V, over the selected slot), moving the selected slot one row with Alt+Up / Alt+Down,
// and dragging the selected row to another position (the slots between shift by one). The
// commands sit in the list's context menu, so that assistive tools reach them too; the keys work
// while the list has the focus.
//
// Each command changes only the library: the current sound and the amplifier are not touched,
// File > Save is enabled, and the current slot keeps pointing at the patch it held.
class SlotCommands : public QObject {
  Q_OBJECT

 public:
  // Adds the commands to `menu` (the list's context menu) and watches the list's keys and drags.
  SlotCommands(CVKREditorDlg& dlg, QMenu& menu);

  void Rename();
  void CopySlot();
  void PasteSlot();
  // Moves the selected slot `rows` rows (-1 up, +1 down), if there is room.
  void MoveSelected(int rows);
  // Moves slot `from` to `to`; the selection follows it.
  void Move(int from, int to);
  // Edit > Find (Ctrl+F): asks for text and selects the next slot whose name holds it, in view
  // and with the keyboard focus on the list, without loading it (Enter on the list loads it).
  void Find();

  // True for a key event on the list that one of the commands takes (it goes to the list's
  // own handling, not to the window's accelerators).
  bool ownsKey(QObject* watched, QEvent* event) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* add(QMenu& menu, const QString& text, const QKeySequence& keys,
               std::function<void()> command);
  // The action whose key the event is, if any.
  QAction* actionFor(const QKeyEvent& key) const;
  bool dragEvent(CVKRListBox& list, QEvent* event);
  int selected() const;
  // The library changed: rows rebuilt, `select` (when not -1) selected and shown, Save enabled.
  void changed(int select);
  CVKRListBox* list() const;

  CVKREditorDlg& dlg_;
  std::optional<LibraryEntry> copied_;
  QList<QAction*> actions_;
  QAction* paste_ = nullptr;
  QString findText_;
  int dragFrom_ = -1;
  int dragTo_ = -1;
};

}  // namespace orv
