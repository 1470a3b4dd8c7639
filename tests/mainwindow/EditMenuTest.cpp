#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"

namespace orv {
namespace {

using test::MainWindowHarness;

CVKREditorDlg& openShown(MainWindowHarness& h, bool connected = false) {
  CVKREditorDlg& dlg = connected ? h.openConnected() : h.open();
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  QGuiApplication::clipboard()->clear();
  return dlg;
}

// Opens the Edit menu as the user would and reads Undo, Cut, Copy, Paste: "1" enabled, "0" grayed.
QString editItems(CVKREditorDlg& dlg) {
  QMenu* edit = dlg.menuBar().actions().at(1)->menu();
  emit edit->aboutToShow();
  QString out;
  for (int id : {MainMenu::Undo, MainMenu::Cut, MainMenu::Copy, MainMenu::Paste})
    out += dlg.menu().isEnabled(id) ? u'1' : u'0';
  return out;
}

TEST(MainWindowEditMenu, ItemsFollowTheFocusedFieldItsSelectionAndTheClipboard) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = openShown(h);
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->setCursorPosition(2);
  EXPECT_EQ(editItems(dlg), "0000") << "caret without a selection, nothing on the clipboard";
  name->selectAll();
  EXPECT_EQ(editItems(dlg), "0110");
  QGuiApplication::clipboard()->setText(QStringLiteral("Riff"));
  EXPECT_EQ(editItems(dlg), "0111");
  QTest::keyClicks(name, "x");
  EXPECT_EQ(editItems(dlg), "1001") << "typed: undo possible, selection gone";

  dlg.controls().dial(1111)->setFocus();
  EXPECT_EQ(editItems(dlg), "0000") << "a dial is no text field";

  CVKRNumberEditText* display = dlg.controls().display(1101);
  display->OpenEntry();
  ASSERT_TRUE(display->Entry()->hasFocus());
  EXPECT_EQ(editItems(dlg), "0111") << "the open entry shows its text selected";
}

TEST(MainWindowEditMenu, CutCopyPasteAndUndoWorkOnTheNameEditFromKeysAndMenu) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = openShown(h);
  QClipboard* clipboard = QGuiApplication::clipboard();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text(), "Empty");
  dlg.menu().action(MainMenu::Cut)->trigger();
  EXPECT_EQ(name->text(), "");
  EXPECT_TRUE(DeviceLink::instance().edited()) << "cutting changes the name like typing";

  clipboard->setText(QStringLiteral("Crunch\nsecond line"));
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "Crunch") << "a one-line field takes the first line";
  EXPECT_EQ(dlg.patchName(), "Crunch");

  name->selectAll();
  QTest::keyClicks(name, "Lead");
  ASSERT_EQ(name->text(), "Lead");
  QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "Crunch") << "Ctrl+Z undoes the typing";
}

TEST(MainWindowEditMenu, AcceleratorsActWhateverControlHasTheFocus) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = openShown(h, /*connected=*/true);
  QAction* save = dlg.menu().action(MainMenu::Save);
  QAction* store = dlg.menu().action(MainMenu::SaveToLibrary);
  save->setEnabled(true);
  store->setEnabled(true);
  QSignalSpy saves(save, &QAction::triggered);
  QSignalSpy stores(store, &QAction::triggered);

  CVKRDial* gain = dlg.controls().dial(1111);
  gain->setFocus();
  const int before = gain->GetValue();
  QTest::keyClick(gain, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(saves.count(), 1);
  QTest::keyClick(gain, Qt::Key_Z, Qt::ControlModifier);  // Undo grayed: nothing happens
  EXPECT_EQ(gain->GetValue(), before);

  CVKRListBox* list = dlg.controls().libraryList();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(stores.count(), 1);
  EXPECT_EQ(saves.count(), 1) << "Ctrl+Alt+S is not Ctrl+S";
  QTest::keyClick(list, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(saves.count() + stores.count(), 2) << "modifiers must match exactly";

  save->setEnabled(false);
  QTest::keyClick(gain, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(saves.count(), 1) << "a grayed item does not act";
}

TEST(MainWindowSkinnedButtons, AClickTakesTheFocusCommitsTheNameAndSpaceToggles) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = openShown(h, /*connected=*/true);
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Solo");

  CCustomButton* effect = dlg.controls().button(1020);
  const int state = effect->GetState();
  QTest::mouseClick(effect, Qt::LeftButton);
  EXPECT_TRUE(effect->hasFocus());
  h.service->flush();
  EXPECT_EQ(patchName(h.sim->patch()), "Solo") << "leaving the name edit committed it";
  EXPECT_EQ(effect->GetState(), 1 - state);

  QTest::keyClick(effect, Qt::Key_Space);
  EXPECT_EQ(effect->GetState(), state);
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kEffectOn], state ? patch::kOn : patch::kOff);
}

}  // namespace
}  // namespace orv
