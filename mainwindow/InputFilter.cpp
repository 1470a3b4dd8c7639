#include "mainwindow/InputFilter.h"

#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>

#include "controls/AccessibleGate.h"
#include "controls/Rapidbutton.h"
#include "controls/VKRListBox.h"
#include "mainwindow/LibraryFlows.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/SlotCommands.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/MenuRules.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKREditorDlg.h"

namespace orv {

namespace {

struct Accelerator {
  int key;
  Qt::KeyboardModifiers modifiers;
  int command;
};

constexpr Accelerator kAccelerators[] = {
    {Qt::Key_C, Qt::ControlModifier, MainMenu::Copy},
    {Qt::Key_X, Qt::ControlModifier, MainMenu::Cut},
    {Qt::Key_V, Qt::ControlModifier, MainMenu::Paste},
    {Qt::Key_Z, Qt::ControlModifier, MainMenu::Undo},
    {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, MainMenu::Redo},
    {Qt::Key_Y, Qt::ControlModifier, MainMenu::Redo},
    {Qt::Key_N, Qt::ControlModifier, MainMenu::New},
    {Qt::Key_O, Qt::ControlModifier, MainMenu::Open},
    {Qt::Key_S, Qt::ControlModifier, MainMenu::Save},
    {Qt::Key_S, Qt::ControlModifier | Qt::AltModifier, MainMenu::SaveToLibrary},
    {Qt::Key_K, Qt::ControlModifier, MainMenu::Compare},
};

// The command of the key combination, or 0. The modifiers must match exactly.
int acceleratorCommand(const QKeyEvent& key) {
  const Qt::KeyboardModifiers held = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier |
                                                        Qt::ShiftModifier | Qt::MetaModifier);
  for (const Accelerator& a : kAccelerators)
    if (a.key == key.key() && a.modifiers == held) return a.command;
  return 0;
}

}  // namespace

InputFilter::InputFilter(CVKREditorDlg& dlg) : dlg_(dlg) {
  qApp->installEventFilter(this);
}

InputFilter::~InputFilter() {
  qApp->removeEventFilter(this);
}

bool InputFilter::inWindow(QObject* watched) const {
  auto* w = qobject_cast<QWidget*>(watched);
  return w && (w == &dlg_ || dlg_.isAncestorOf(w));
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      break;
    case QEvent::DragEnter:
      return inWindow(watched) && fileDragOnTextField(watched, event);
    case QEvent::FocusOut:
      return inWindow(watched) && fieldToMenuBar(watched, event);
    default:
      return false;
  }
  if (!inWindow(watched)) return false;
  // The list's own keys (Ctrl+C, Ctrl+V, F2, Alt+Up, Alt+Down) go to its slot commands.
  if (dlg_.slotCommands_ && dlg_.slotCommands_->ownsKey(watched, event)) return false;
  if (accelerator(event) || menuKey(event) || compareKey(event) || lockedInput(watched, event))
    return true;
  bool consumed = false;
  dlg_.barrier().run([&] {
    PanelControls& c = dlg_.controls();
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      for (CRapidbutton* b : {c.scrollDown(), c.scrollUp()})
        if (b) b->StopRepeat();
    }
    if (watched == c.nameEdit()) consumed = nameEditEvent(event);
    if (watched == c.libraryList()) consumed = listEvent(event);
  });
  return consumed;
}

// The accelerator table comes before anything else: its keys reach neither the widgets nor the
// menu's own shortcuts. The item's enabling rule is asked first, as opening its menu would; a
// grayed item swallows its key and does nothing.
bool InputFilter::accelerator(QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  const int command = acceleratorCommand(*static_cast<QKeyEvent*>(event));
  if (!command) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();  // no shortcut: the key press follows and is handled below
    return true;
  }
  dlg_.barrier().run([&] {
    if (dlg_.menuRules().update(command)) dlg_.menu().action(command)->trigger();
  });
  return true;
}

// F10 opens the first menu of the menu bar, whichever control has the focus; the arrow keys go
// on from there.
bool InputFilter::menuKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::NoModifier) return false;
  QMenuBar& bar = dlg_.menuBar();
  if (!bar.actions().isEmpty()) bar.setActiveAction(bar.actions().first());
  return true;
}

// Escape ends comparing, whichever control has the focus.
bool InputFilter::compareKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress || !dlg_.compare_ || !dlg_.compare_->active()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
  dlg_.runMenuCommand(MainMenu::Compare);
  return true;
}

// A locked control gets no mouse and no keys but Tab and Shift+Tab, so the focus still moves on.
bool InputFilter::lockedInput(QObject* watched, QEvent* event) {
  if (!AccessibleGate::IsLocked(static_cast<QWidget*>(watched))) return false;
  if (event->type() == QEvent::ShortcutOverride) return false;
  if (event->type() != QEvent::KeyPress) return true;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key != Qt::Key_Tab && key != Qt::Key_Backtab;
}

// Text fields (the name edit, the inline number entries) would take a dropped file's name as
// text; the drag goes on to the window, which opens the file.
bool InputFilter::fileDragOnTextField(QObject* watched, QEvent* event) {
  auto* drag = static_cast<QDragEnterEvent*>(event);
  if (!qobject_cast<QLineEdit*>(watched) || !drag->mimeData()->hasUrls()) return false;
  drag->ignore();
  return true;
}

// The menu bar reached by keyboard takes the focus; a text field keeps its selection (which
// Cut and Copy act on) and its entry stays open, as when a popup menu opens over it.
bool InputFilter::fieldToMenuBar(QObject* watched, QEvent* event) {
  return qobject_cast<QLineEdit*>(watched) &&
         static_cast<QFocusEvent*>(event)->reason() == Qt::MenuBarFocusReason;
}

// A right press picks the row under the pointer as a left click would; the release then opens
// the list's context menu.
bool InputFilter::listEvent(QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::RightButton) return false;
  CVKRListBox* list = dlg_.controls().libraryList();
  const int row = list->ItemFromPoint(mouse->position().toPoint());
  if (row < 0) return true;
  list->SetCurSel(row);
  dlg_.runCommand([&] { dlg_.flows().SelectSlot(row); });
  return true;
}

bool InputFilter::nameEditEvent(QEvent* event) {
  QLineEdit* edit = dlg_.controls().nameEdit();
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (QWidget* list = dlg_.controls().libraryList()) {
          dlg_.setAttribute(Qt::WA_KeyboardFocusChange);  // a keyboard move: the list shows it
          list->setFocus(Qt::OtherFocusReason);
        }
        return true;
      }
      dlg_.redrawName();
      return false;
    }
    case QEvent::ContextMenu:
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto button = static_cast<QMouseEvent*>(event)->button();
      if (button == Qt::RightButton) return true;
      if (button == Qt::LeftButton) {
        dlg_.redrawName();
        edit->setCursorPosition(0);
      }
      return false;
    }
    case QEvent::MouseMove:
      if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) dlg_.redrawName();
      return false;
    default:
      return false;
  }
}

}  // namespace orv
