#pragma once
#include "mainwindow/SlotPickerDlg.h"

class QLineEdit;

namespace orv {

struct LibraryEntry;

// "Save To Library": stores a prepared entry into the chosen slot under the name typed here.
// Only the Save button stores; a double-click on a row merely selects it.
// An empty name or one with a character above 127 keeps the dialog open with its message and the
// text as typed. On Save the entry's name field takes the first 64 characters of the name
// (zero-padded), the entry replaces the chosen slot and the dialog closes with OK.
class CVKRSaveToLibraryDlg : public SlotPickerDlg {
  Q_OBJECT

 public:
  // `entry` is the caller's, completed with the name on Save; `preselected` may be -1.
  CVKRSaveToLibraryDlg(Library& library, int preselected, LibraryEntry& entry, const QString& name,
                       IMessageBoxes& boxes, QWidget* parent = nullptr);

  QLineEdit* NameEdit() const { return nameEdit_; }
  // After OK: the name as typed and the slot it was stored in.
  QString GetName() const { return name_; }
  int GetChosenSlot() const { return chosenSlot_; }

 protected:
  void OnAction() override;

 private:
  Library& library_;
  LibraryEntry& entry_;
  QLineEdit* nameEdit_ = nullptr;
  QString name_;
  int chosenSlot_ = -1;
};

}  // namespace orv
