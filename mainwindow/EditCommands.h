#pragma once
#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace orv {

// Undo, Redo, Cut, Copy and Paste of the Edit menu as they act on the text field that has the
// focus in the main window (the patch name edit or an open inline number entry), which exchanges
// plain text with the clipboard itself; Undo and Redo are the field's own text undo and redo.
// With the focus anywhere else (a dial, the list, nothing) these rules gray every command (the
// window then gives Undo and Redo to the edit history). While the menu bar holds the focus
// (reached by keyboard), the field is the one that had the focus before it.
class EditCommands {
 public:
  explicit EditCommands(QWidget& window);

  // A text field of the window has the focus: Undo and Redo are its own.
  bool fieldFocused() const;
  // The enabling rule of `command` (MainMenu::Undo, Redo, Cut, Copy or Paste).
  bool enabled(int command) const;
  // Carries out `command` when its rule allows it.
  void run(int command);

 private:
  QLineEdit* focusedField() const;

  QWidget& window_;
  QPointer<QWidget> lastFocus_;  // the last control of the window with the focus, not the menu bar
};

}  // namespace orv
