#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "controls/Colors.h"
#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/MenuRules.h"
#include "mainwindow/PanelControls.h"

namespace orv {
namespace {

using test::MainWindowHarness;

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
  CVKREditorDlg& dlg = h.openShown();
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
  EXPECT_EQ(editItems(dlg), "1000")
      << "a dial is no text field; Undo takes back the name committed on leaving it";

  CVKRNumberEditText* display = dlg.controls().display(1101);
  display->OpenEntry();
  ASSERT_TRUE(display->Entry()->hasFocus());
  EXPECT_EQ(editItems(dlg), "0111") << "the open entry shows its text selected";
}

TEST(MainWindowEditMenu, CutCopyPasteAndUndoWorkOnTheNameEditFromKeysAndMenu) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown();
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
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  QAction* save = dlg.menu().action(MainMenu::Save);
  QAction* store = dlg.menu().action(MainMenu::SaveToLibrary);
  save->setEnabled(true);
  store->setEnabled(true);
  QSignalSpy saves(save, &QAction::triggered);
  QSignalSpy stores(store, &QAction::triggered);

  CVKRDial* gain = dlg.controls().dial(1111);
  gain->setFocus();
  QTest::keyClick(gain, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(saves.count(), 1);

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

TEST(MainWindowEditMenu, AGrayedItemSwallowsItsKeyWhereTheFieldWouldOtherwiseAct) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Lead");
  ASSERT_TRUE(name->isUndoAvailable()) << "the field itself would undo";
  QGuiApplication::clipboard()->setText(QStringLiteral("Riff"));

  dlg.menuRules().set(MainMenu::Undo, [] { return false; });
  dlg.menuRules().set(MainMenu::Paste, [] { return false; });
  QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "Lead") << "neither the undo nor the paste reached the field";
}

TEST(MainWindowEditMenu, AShortcutAsksTheItemsRuleBeforeActing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  int asked = 0;
  bool allowed = false;
  dlg.menuRules().set(MainMenu::Copy, [&] {
    ++asked;
    return allowed;
  });

  QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "") << "the rule said no";
  allowed = true;  // the item is still grayed from the last answer
  QTest::keyClick(name, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "Empty")
      << "the rule, not the old state, decides";
}

TEST(MainWindowEditMenu, PasteTakesTheFirstLineAlsoAfterACarriageReturn) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  QGuiApplication::clipboard()->setText(QStringLiteral("Crunch\rsecond line"));
  dlg.menu().action(MainMenu::Paste)->trigger();
  EXPECT_EQ(name->text(), "Crunch");
  QGuiApplication::clipboard()->setText(QStringLiteral("Solo\r\nsecond line"));
  name->selectAll();
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "Solo");
}

TEST(MainWindowEditMenu, CutCopyAndPasteWorkInAnOpenNumberEntry) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  QClipboard* clipboard = QGuiApplication::clipboard();
  CVKRNumberEditText* display = dlg.controls().display(1101);
  display->OpenEntry();
  QLineEdit* entry = display->Entry();
  ASSERT_TRUE(entry->hasFocus());
  const QString shown = entry->text();
  ASSERT_FALSE(shown.isEmpty());

  dlg.menu().action(MainMenu::Copy)->trigger();
  EXPECT_EQ(clipboard->text(), shown);
  entry->selectAll();
  QTest::keyClick(entry, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(entry->text(), "");
  EXPECT_EQ(clipboard->text(), shown);

  clipboard->setText(QStringLiteral("42\r\n9"));
  dlg.menu().action(MainMenu::Paste)->trigger();
  EXPECT_EQ(entry->text(), "42");
  EXPECT_TRUE(display->IsEntryOpen()) << "the commands leave the entry open";
}

TEST(MainWindowEditMenu, TheMenuBarReachedByKeyboardJudgesTheFieldItCameFrom) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  const QString selected = name->text();
  // Alt+F, then Right: the menu bar takes the focus (keyboard mode) and opens Edit.
  QTest::keyClick(name, Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(QApplication::activePopupWidget());
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
  ASSERT_EQ(QApplication::activePopupWidget(), dlg.menuBar().actions().at(1)->menu());
  EXPECT_EQ(editItems(dlg), "0110") << "Cut and Copy concern the selected name";
  while (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_Escape);
  QTest::keyClick(&dlg.menuBar(), Qt::Key_Escape);
  EXPECT_TRUE(name->hasFocus());
  EXPECT_EQ(name->selectedText(), selected) << "the selection outlived the visit";
  // F10 opens the first menu; Right goes on to Edit.
  QTest::keyClick(name, Qt::Key_F10);
  ASSERT_EQ(QApplication::activePopupWidget(), dlg.menuBar().actions().at(0)->menu());
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
  EXPECT_EQ(editItems(dlg), "0110");
  while (QWidget* popup = QApplication::activePopupWidget()) QTest::keyClick(popup, Qt::Key_Escape);

  // Every item of the menus and every button of the dialogs has a mnemonic.
  for (QAction* top : dlg.menuBar().actions())
    for (QAction* item : top->menu()->actions())
      EXPECT_TRUE(item->isSeparator() || item->text().contains(u'&')) << item->text().toStdString();
  h.boxes.onDialog = [](QDialog& d) {
    for (QPushButton* b : d.findChildren<QPushButton*>())
      EXPECT_TRUE(b->text().contains(u'&')) << b->text().toStdString();
    for (QWidget* field : d.findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractItemView*>(field) || qobject_cast<QLineEdit*>(field) ||
          qobject_cast<QComboBox*>(field)) {
        EXPECT_FALSE(field->accessibleName().isEmpty()) << d.objectName().toStdString();
      }
    }
    return int(QDialog::Rejected);
  };
  DeviceLink::instance().setEdited(false);  // no question before the import
  for (int command : {MainMenu::Export, MainMenu::Import, MainMenu::Preferences}) {
    dlg.menu().setEnabled(command, true);
    dlg.menu().action(command)->trigger();
  }
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();
  EXPECT_EQ(h.boxes.dialogsRun.size(), 4u);
}

TEST(MainWindowKeyboard, KnobsPullDownsAndTheListAnswerTheKeyboard) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  CVKRDial* gain = dlg.controls().dial(1111);
  gain->setFocus(Qt::TabFocusReason);
  QTest::keyClick(gain, Qt::Key_End);
  EXPECT_EQ(gain->GetValue(), 100);
  QTest::keyClick(gain, Qt::Key_PageDown);
  EXPECT_EQ(gain->GetValue(), 90);
  QTest::keyClick(gain, Qt::Key_PageUp);
  QTest::keyClick(gain, Qt::Key_Home);
  EXPECT_EQ(gain->GetValue(), 0);
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kGain], 0) << "the keys reach the amplifier";
  QTest::keyClick(gain, Qt::Key_F2);
  CVKRNumberEditText* display = dlg.controls().display(1101);
  ASSERT_TRUE(display->IsEntryOpen());
  EXPECT_TRUE(display->Entry()->hasFocus());
  QTest::keyClick(display->Entry(), Qt::Key_Escape);
  gain->setFocus(Qt::TabFocusReason);
  QTest::keyClick(gain, Qt::Key_Return);
  EXPECT_TRUE(display->IsEntryOpen());
  QTest::keyClick(display->Entry(), Qt::Key_Escape);

  // Enter in the name edit hands the focus to the list, which frames itself (left edge, amber).
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(name, Qt::Key_Return);
  CVKRListBox* list = dlg.controls().libraryList();
  ASSERT_TRUE(list->hasFocus());
  const QImage shot = list->grab().toImage();
  int amber = 0;
  for (int y = 0; y < shot.height(); ++y) amber += shot.pixelColor(0, y) == kAmber;
  EXPECT_GT(amber, shot.height() / 4) << "a dotted frame down the left edge";

  CVKRPullDownMenu* type = dlg.controls().pullDown(1033);
  type->setEnabled(true);
  for (const auto& [key, modifiers] :
       {std::pair{Qt::Key_Space, Qt::NoModifier}, std::pair{Qt::Key_Down, Qt::AltModifier}}) {
    type->setFocus(Qt::TabFocusReason);
    QTest::keyClick(type, key, modifiers);
    ASSERT_TRUE(type->ActiveMenu()) << key;
    type->ActiveMenu()->close();
    QCoreApplication::processEvents();
  }
}

TEST(MainWindowSkinnedButtons, AClickTakesTheFocusCommitsTheNameAndSpaceToggles) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
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
