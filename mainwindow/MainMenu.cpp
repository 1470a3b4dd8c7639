#include "mainwindow/MainMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace orv {

MainMenu::MainMenu(QMenuBar* bar, const QSet<int>& handled, QObject* parent)
    : QObject(parent), bar_(bar), handled_(handled) {
  QMenu* file = bar->addMenu(QStringLiteral("File(&F)"));
  add(file, New, QStringLiteral("New(&N)"), "Ctrl+N");
  add(file, Open, QStringLiteral("Open(&O)..."), "Ctrl+O");
  add(file, Save, QStringLiteral("Save(&S)"), "Ctrl+S");
  add(file, SaveAs, QStringLiteral("Save as(&A)..."));
  file->addSeparator();
  add(file, SaveToLibrary, QStringLiteral("Save To Library(&L)"), "Ctrl+Alt+S");
  add(file, Import, QStringLiteral("&Import..."));
  add(file, Export, QStringLiteral("&Export..."));
  file->addSeparator();
  add(file, Quit, QStringLiteral("Quit(&X)"));

  QMenu* edit = bar->addMenu(QStringLiteral("Edit(&E)"));
  add(edit, Undo, QStringLiteral("Undo(&U)"), "Ctrl+Z");
  QAction* redo = add(edit, Redo, QStringLiteral("Redo(&R)"), "Ctrl+Shift+Z");
  redo->setShortcuts(
      {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
  edit->addSeparator();
  add(edit, Cut, QStringLiteral("Cut(&T)"), "Ctrl+X");
  add(edit, Copy, QStringLiteral("Copy(&C)"), "Ctrl+C");
  add(edit, Paste, QStringLiteral("Paste(&P)"), "Ctrl+V");
  edit->addSeparator();
  add(edit, Find, QStringLiteral("Find(&F)..."), "Ctrl+F");
  edit->addSeparator();
  add(edit, Compare, QStringLiteral("Compare(&O)"), "Ctrl+K")->setCheckable(true);
  add(edit, ShowDifferences, QStringLiteral("Show &Differences..."), "Ctrl+D");
  edit->addSeparator();
  add(edit, Preferences, QStringLiteral("Pr&eferences..."));

  usbVolume_ = bar->addMenu(QStringLiteral("USB Volume(&U)"));
  for (int command = Volume5; command >= Volume1; --command) {
    QAction* a = add(usbVolume_, command, QStringLiteral("Volume:&%1").arg(command - Volume1 + 1));
    a->setCheckable(true);
  }
  usbVolume_->menuAction()->setEnabled(false);

  QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
  add(help, Help, QStringLiteral("&Help"));
  add(help, About, QStringLiteral("About(&A)..."));

  // Grayed by the menu resource.
  setEnabled(Save, false);
  setEnabled(SaveToLibrary, false);
}

QAction* MainMenu::add(QMenu* menu, int command, const QString& text, const char* shortcut) {
  QAction* a = menu->addAction(text);
  a->setData(command);
  if (shortcut) {
    a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    // The shortcuts work in every child of the window, as an accelerator table does.
    a->setShortcutContext(Qt::WindowShortcut);
  }
  a->setEnabled(handled_.contains(command));
  connect(a, &QAction::triggered, this, [this, command] { emit triggered(command); });
  actions_.insert(command, a);
  return a;
}

bool MainMenu::isEnabled(int command) const {
  QAction* a = action(command);
  return a && a->isEnabled();
}

void MainMenu::setEnabled(int command, bool enabled) {
  QAction* a = action(command);
  if (!a) return;
  a->setEnabled(enabled && handled_.contains(command));
  bar_->update();
}

void MainMenu::setUsbVolumeEnabled(bool enabled) {
  usbVolume_->menuAction()->setEnabled(enabled);
  bar_->update();
}

bool MainMenu::usbVolumeEnabled() const {
  return usbVolume_->menuAction()->isEnabled();
}

void MainMenu::checkUsbVolume(int value) {
  usbVolumeMark_ = value;
  for (int command = Volume1; command <= Volume5; ++command)
    action(command)->setChecked(command == Volume1 + value);
  bar_->update();
}

int MainMenu::checkedUsbVolume() const {
  for (int command = Volume1; command <= Volume5; ++command)
    if (action(command)->isChecked()) return command - Volume1;
  return -1;
}

}  // namespace orv
