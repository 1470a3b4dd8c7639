#pragma once
#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace orv {

// Undo, Cut, Copy and Paste of the Edit menu. They act on the text field that has the focus in
// the main window (the patch name edit or an open inline number entry), which exchanges plain
// text with the clipboard itself; Undo is the field's own text undo. With the focus anywhere
// else (a dial, the list, nothing) every command is grayed and does nothing. While the menu bar
// holds the focus (reached by keyboard), the field is the one that had the focus before it.
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
  QPointer<QWidget> lastFocus_;  // the last control of the window with the focus, not the menu bar
};

}  // namespace orv
