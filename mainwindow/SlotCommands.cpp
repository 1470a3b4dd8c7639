#include "mainwindow/SlotCommands.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "controls/VKRListBox.h"
#include "mainwindow/LibraryFlows.h"
#include "mainwindow/VKREditorDlg.h"
#include "patch/GenericException.h"
#include "patch/LibrarySlots.h"
#include "patch/StringTable.h"

namespace orv {

namespace {

bool isEnter(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
         (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

SlotCommands::SlotCommands(CVKREditorDlg& dlg, QMenu& menu) : QObject(&dlg), dlg_(dlg) {
  add(menu, QStringLiteral("Rename..."), QKeySequence(Qt::Key_F2), [this] { Rename(); });
  add(menu, QStringLiteral("Copy Slot"), QKeySequence(Qt::CTRL | Qt::Key_C),
      [this] { CopySlot(); });
  paste_ = add(menu, QStringLiteral("Paste Slot"), QKeySequence(Qt::CTRL | Qt::Key_V),
               [this] { PasteSlot(); });
  add(menu, QStringLiteral("Move Up"), QKeySequence(Qt::ALT | Qt::Key_Up),
      [this] { MoveSelected(-1); });
  add(menu, QStringLiteral("Move Down"), QKeySequence(Qt::ALT | Qt::Key_Down),
      [this] { MoveSelected(1); });
  paste_->setEnabled(false);
  connect(&menu, &QMenu::aboutToShow, this, [this] { paste_->setEnabled(copied_.has_value()); });
  if (CVKRListBox* l = list()) l->installEventFilter(this);
}

QAction* SlotCommands::add(QMenu& menu, const QString& text, const QKeySequence& keys,
                           std::function<void()> command) {
  QAction* a = menu.addAction(text);
  // The keys are shown in the menu; the list's event filter carries them out while the list
  // has the focus (as window shortcuts they would take Ctrl+C and Ctrl+V from the name edit).
  a->setShortcut(keys);
  a->setShortcutContext(Qt::WidgetShortcut);
  // As the window's own menu commands: none runs inside another window's box or dialog (the
  // accessibility layer reaches the menu then too).
  connect(a, &QAction::triggered, this, [this, command] {
    if (!dlg_.anotherWindowModal()) dlg_.runCommand(command);
  });
  actions_.push_back(a);
  return a;
}

CVKRListBox* SlotCommands::list() const {
  return dlg_.controls().libraryList();
}

int SlotCommands::selected() const {
  const CVKRListBox* l = list();
  const int row = l ? l->GetCurSel() : -1;
  return row < static_cast<int>(dlg_.library().library().size()) ? row : -1;
}

void SlotCommands::changed(int select) {
  LibraryDocument& doc = dlg_.library();
  doc.enableSave();
  dlg_.libraryShown();  // the rows again, the current slot's row selected
  if (CVKRListBox* l = list(); l && select >= 0) {
    l->SetCurSel(select);
    if (select < l->GetTopIndex() || select >= l->GetTopIndex() + l->FullRows())
      l->SetTopIndex(std::max(select - l->FullRows() / 2, 0));
  }
}

void SlotCommands::Rename() {
  const int slot = selected();
  if (slot < 0) return;
  Library& library = dlg_.library().library();
  QInputDialog box(&dlg_);
  box.setObjectName(QStringLiteral("renameSlot"));
  box.setWindowTitle(QStringLiteral("Rename"));
  box.setLabelText(QStringLiteral("Patch name (up to 64 characters):"));
  box.setTextValue(QString::fromLatin1(patchName(library.slot(std::size_t(slot)).data).c_str()));
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted) return;
  const QString name = box.textValue();
  // A character a patch name cannot hold is refused before the text is narrowed.
  if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() > 127; }))
    throw CGenericException(strings::UnsupportedCharacters);
  renameSlot(library, std::size_t(slot), name.toStdString());
  changed(slot);
}

void SlotCommands::CopySlot() {
  if (const int slot = selected(); slot >= 0)
    copied_ = dlg_.library().library().slot(std::size_t(slot));
}

void SlotCommands::PasteSlot() {
  const int slot = selected();
  if (slot < 0 || !copied_) return;
  dlg_.library().library().slot(std::size_t(slot)) = *copied_;
  changed(slot);
}

void SlotCommands::MoveSelected(int rows) {
  const int slot = selected();
  const int to = slot + rows;
  if (slot < 0 || to < 0 || to >= static_cast<int>(dlg_.library().library().size())) return;
  Move(slot, to);
}

void SlotCommands::Move(int from, int to) {
  LibraryDocument& doc = dlg_.library();
  if (from == to) return;
  moveSlot(doc.library(), std::size_t(from), std::size_t(to));
  doc.setCurrentSlot(slotAfterMove(doc.currentSlot(), std::size_t(from), std::size_t(to)));
  changed(to);
}

void SlotCommands::Find() {
  CVKRListBox* l = list();
  if (!l) return;
  QInputDialog box(&dlg_);
  box.setObjectName(QStringLiteral("findSlot"));
  box.setWindowTitle(QStringLiteral("Find"));
  box.setLabelText(QStringLiteral("Find a patch whose name contains:"));
  box.setTextValue(findText_);
  if (dlg_.messageBoxes().runModal(box) != QDialog::Accepted) return;
  findText_ = box.textValue();
  const int found = findSlot(dlg_.library().library(), findText_.toStdString(), l->GetCurSel());
  l->setFocus(Qt::OtherFocusReason);
  if (found < 0) {
    QApplication::beep();
    return;
  }
  l->SetCurSel(found);
  if (found < l->GetTopIndex() || found >= l->GetTopIndex() + l->FullRows())
    l->SetTopIndex(std::max(found - l->FullRows() / 2, 0));
}

QAction* SlotCommands::actionFor(const QKeyEvent& key) const {
  // Arrow keys may come with the keypad flag; it makes no other key.
  const QKeySequence pressed(
      QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
  for (QAction* a : actions_)
    if (a->shortcut() == pressed) return a;
  return nullptr;
}

// The list is told by its type: the filter also sees events while the window is being taken
// apart, when the panel's controls can no longer be asked for it.
bool SlotCommands::ownsKey(QObject* watched, QEvent* event) const {
  if (!qobject_cast<CVKRListBox*>(watched)) return false;
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  return actionFor(*static_cast<QKeyEvent*>(event)) != nullptr;
}

bool SlotCommands::eventFilter(QObject* watched, QEvent* event) {
  auto* l = qobject_cast<CVKRListBox*>(watched);
  if (!l) return false;
  switch (event->type()) {
    case QEvent::ShortcutOverride:  // the list keeps its keys from the window's shortcuts
      if (actionFor(*static_cast<QKeyEvent*>(event))) event->accept();
      return false;
    case QEvent::KeyPress:
      if (isEnter(*static_cast<QKeyEvent*>(event))) {
        const int row = l->GetCurSel();
        if (row >= 0) dlg_.runCommand([&] { dlg_.flows().SelectSlot(row); });
        return true;
      }
      if (QAction* a = actionFor(*static_cast<QKeyEvent*>(event))) {
        if (a != paste_ || copied_) a->trigger();
        return true;
      }
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      return dragEvent(*l, event);
    default:
      return false;
  }
}

// A left press on the selected row starts a move: the selection shows where the slot lands and
// the release moves it there. Released on its own row it is an ordinary click.
bool SlotCommands::dragEvent(CVKRListBox& list, QEvent* event) {
  CVKRListBox* l = &list;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const int row = l->ItemFromPoint(mouse->position().toPoint());
  if (event->type() == QEvent::MouseButtonPress) {
    if (mouse->button() != Qt::LeftButton || row < 0 || row != l->GetCurSel()) return false;
    dragFrom_ = dragTo_ = row;
    l->setFocus(Qt::MouseFocusReason);
    return true;
  }
  if (dragFrom_ < 0) return false;
  if (event->type() == QEvent::MouseMove) {
    dragTo_ = row;
    l->SetCurSel(row);
    return true;
  }
  if (mouse->button() != Qt::LeftButton) return true;
  const int from = std::exchange(dragFrom_, -1);
  dlg_.runCommand([&] {
    if (dragTo_ == from)
      dlg_.flows().SelectSlot(from);  // a click on the selected row loads it, as before
    else
      Move(from, dragTo_);
  });
  return true;
}

}  // namespace orv
