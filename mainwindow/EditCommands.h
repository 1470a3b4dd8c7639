#pragma once

class QLineEdit;
class QWidget;

namespace orv {

// Undo, Cut, Copy and Paste of the Edit menu. They act on the text field that has the focus in
// the main window (the patch name edit or an open inline number entry), which exchanges plain
// text with the clipboard itself; Undo is the field's own text undo. With the focus anywhere
// else (a dial, the list, nothing) every command is grayed and does nothing.
class EditCommands {
 public:
  explicit EditCommands(QWidget& window);

  // The enabling rule of `command` (MainMenu::Undo, Cut, Copy or Paste).
  bool enabled(int command) const;
  // Carries out `command` when its rule allows it.
  void run(int command);

 private:
  QLineEdit* focusedField() const;

  QWidget& window_;
};

}  // namespace orv
