#pragma once
#include <QObject>

namespace orv {

class CVKREditorDlg;

// The main window's keyboard and mouse filtering, ahead of the widgets:
// - the accelerator table (Ctrl+C/X/V/Z/N/O/S/K, Ctrl+Alt+S) triggers its menu items first,
//   whichever control has the focus; F10 opens the first menu;
// - while comparing, Escape ends it and the locked controls get no mouse and no keys (Tab and
//   Shift+Tab still move the focus on);
// - Escape never closes the window (controls that use Escape, such as the inline number entry,
//   still get it);
// - a right press in the library list picks the row under the pointer;
// - a dragged file passes over text fields to the window;
// - Enter in the name edit moves the focus to the library list;
// - no context menu on the name edit;
// - a text field does not hear of the focus going to the menu bar (it keeps its selection);
// - typing, clicking or dragging in the name edit redraws the name area (a click first scrolls
//   the name back to its start);
// - a left release anywhere stops both list scroll buttons' repetition.
class InputFilter : public QObject {
  Q_OBJECT
 public:
  explicit InputFilter(CVKREditorDlg& dlg);
  ~InputFilter() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool inWindow(QObject* watched) const;
  bool accelerator(QEvent* event);
  bool menuKey(QEvent* event);
  bool compareKey(QEvent* event);
  static bool lockedInput(QObject* watched, QEvent* event);
  bool nameEditEvent(QEvent* event);
  bool listEvent(QEvent* event);
  static bool fileDragOnTextField(QObject* watched, QEvent* event);
  static bool fieldToMenuBar(QObject* watched, QEvent* event);

  CVKREditorDlg& dlg_;
};

}  // namespace orv
