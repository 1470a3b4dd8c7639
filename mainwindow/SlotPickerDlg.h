#pragma once
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QVBoxLayout;

namespace orv {

class IMessageBoxes;
class Library;

// What the save-to-library, import and export dialogs share: a prompt, the library's slots as
// "%03d %s" rows, an action button (the default button, enabled once a row is selected, never
// disabled again) and Cancel, both with the mnemonic of their first letter. The preselected slot's
// row is selected from the start.
class SlotPickerDlg : public QDialog {
  Q_OBJECT

 public:
  // The selected row, -1 for none.
  int SelectedSlot() const;
  // What a user does: select a row, press the action button.
  void SelectSlot(int slot);
  void PressAction() { OnAction(); }
  QPushButton* ActionButton() const { return action_; }
  QListWidget* SlotList() const { return list_; }

 protected:
  SlotPickerDlg(const Library& library, IMessageBoxes& boxes, QWidget* parent);
  // Builds the dialog; `extra` (may be null) goes between the list and the buttons.
  void Build(const QString& title, const QString& actionText, int promptId, int preselected,
             QWidget* extra = nullptr);
  virtual void OnAction() = 0;
  // An error box of the dialog: no owner window, caption "ORV Editor", stop icon, OK.
  void ShowError(int stringId);
  IMessageBoxes& Boxes() const { return boxes_; }

 private:
  const Library& library_;
  IMessageBoxes& boxes_;
  QListWidget* list_ = nullptr;
  QPushButton* action_ = nullptr;
};

}  // namespace orv
