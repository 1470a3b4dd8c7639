#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/WindowEvents.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/MenuRules.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/SoundCompare.h"
#include "mainwindow/UndoCommands.h"
#include "mainwindow/VKRPatchImpDlg.h"
#include "mainwindow/VKRSaveToLibraryDlg.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"

namespace orv {
namespace {

using test::MainWindowHarness;

constexpr int kGainDial = 1111, kBassDial = 1113, kEffectDial = 1173, kEffectSwitch = 1020;

void command(CVKREditorDlg& dlg, int id, int times = 1) {
  for (int i = 0; i < times; ++i) dlg.menu().action(id)->trigger();
}

LibraryEntry namedEntry(const char* name) {
  LibraryEntry e;
  initPatch(name, e.data);
  return e;
}

// The library as a file holds it: File > Save grayed.
void saveLibraryAs(MainWindowHarness& h, CVKREditorDlg& dlg) {
  h.boxes.files = {h.config.filePath("Undo")};
  command(dlg, MainMenu::SaveAs);
  ASSERT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
}

TEST(UndoSound, FiveEditsUndonePutTheAmplifierBackByteForByteAndRedoAppliesThemAgain) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const PatchData original = h.sim->patch();
  ASSERT_EQ(DeviceLink::instance().mirror(), original);
  ASSERT_TRUE(DeviceLink::instance().edited()) << "the amplifier's own sound is in no slot";

  // Two knobs (the third effect knob, which Tremolo does not have), a new effect type, the effect
  // switch, a new name.
  dlg.OnControlChanged(kGainDial, 93);
  dlg.OnControlChanged(kEffectDial, 12);
  QCoreApplication::postEvent(&dlg, new WindowMessage(WM_PULLDOWN_CHANGED, 1, 3));  // Tremolo
  QCoreApplication::processEvents();
  dlg.OnControlChanged(kEffectSwitch, original[patch::kEffectOn] == patch::kOn ? 0 : 1);
  QLineEdit* name = dlg.controls().nameEdit();
  name->setText(QStringLiteral("Edited"));
  emit name->editingFinished();
  h.service->flush();
  const PatchData edited = h.sim->patch();
  ASSERT_EQ(DeviceLink::instance().mirror(), edited);
  ASSERT_NE(edited[patch::kEffectType], original[patch::kEffectType]);

  h.sim->clearReceived();
  // The amplifier follows every step, not only the last.
  for (int i = 1; i <= 5; ++i) {
    command(dlg, MainMenu::Undo);
    h.service->flush();
    ASSERT_EQ(h.sim->patch(), DeviceLink::instance().mirror()) << "after undo " << i;
  }
  EXPECT_EQ(h.sim->patch(), original) << "the amplifier holds the first sound again";
  EXPECT_EQ(DeviceLink::instance().mirror(), original);
  for (const auto& m : h.sim->received())
    EXPECT_TRUE(AmpSimulator::isParameterChange(m)) << "value by value, no whole patch";
  EXPECT_EQ(dlg.controls().dial(kGainDial)->GetValue(), original[patch::kGain]);
  EXPECT_EQ(dlg.patchName(), QString::fromLatin1(patchName(original).c_str()));
  EXPECT_TRUE(DeviceLink::instance().edited())
      << "the amplifier's sound, in no slot, keeps the question a pick asks before replacing it";

  for (int i = 1; i <= 5; ++i) {
    command(dlg, MainMenu::Redo);
    h.service->flush();
    ASSERT_EQ(h.sim->patch(), DeviceLink::instance().mirror()) << "after redo " << i;
  }
  EXPECT_EQ(h.sim->patch(), edited);
  EXPECT_EQ(dlg.patchName(), "Edited");
  EXPECT_EQ(dlg.controls().dial(kGainDial)->GetValue(), 93);
  EXPECT_TRUE(DeviceLink::instance().edited());
  EXPECT_FALSE(dlg.menuRules().update(MainMenu::Redo));
}

TEST(UndoSound, UndoingBackToTheSoundOfItsSlotLeavesNothingToAskAbout) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  dlg.library().library().slot(3).data = namedEntry("Slot").data;
  dlg.libraryShown();
  h.boxes.answers = {IMessageBoxes::No};  // the amplifier's sound is dropped
  CVKRListBox* list = dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(3).center());
  ASSERT_FALSE(DeviceLink::instance().edited());
  // Two knobs turned away and back: edited, yet the sound is the slot's again.
  const PatchData slot = DeviceLink::instance().mirror();
  dlg.OnControlChanged(kGainDial, slot[patch::kGain] == 93 ? 94 : 93);
  dlg.OnControlChanged(kBassDial, slot[patch::kBass] == 93 ? 94 : 93);
  dlg.OnControlChanged(kGainDial, slot[patch::kGain]);
  dlg.OnControlChanged(kBassDial, slot[patch::kBass]);
  ASSERT_EQ(DeviceLink::instance().mirror(), slot);
  ASSERT_TRUE(DeviceLink::instance().edited());
  command(dlg, MainMenu::Undo);
  EXPECT_TRUE(DeviceLink::instance().edited());
  command(dlg, MainMenu::Redo);
  EXPECT_FALSE(DeviceLink::instance().edited()) << "redone to a sound its slot holds";
}

TEST(UndoSound, TurnsOfAKnobOnTheAmplifierJoinUntilAPauseAndUndoTurnsItBack) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const PatchData original = h.sim->patch();
  auto turn = [&](int id, int value, int dial) {
    h.sim->turnKnob(id, value);
    ASSERT_TRUE(h.tickUntil([&] { return dlg.controls().dial(dial)->GetValue() == value; }))
        << "the turn of " << id << " never reached the panel";
  };
  turn(1004, 60, 1113);
  turn(1004, 61, 1113);
  turn(1002, 20, 1111);  // another knob between: a step of its own
  h.advanceSeconds(1);
  turn(1004, 62, 1113);  // after a pause: a step of its own

  auto undone = [&] {
    command(dlg, MainMenu::Undo);
    h.service->flush();
    EXPECT_EQ(h.sim->patch(), DeviceLink::instance().mirror()) << "the amplifier follows";
    return DeviceLink::instance().mirror();
  };
  EXPECT_EQ(undone()[patch::kBass], 61);
  EXPECT_EQ(undone()[patch::kGain], original[patch::kGain]);
  EXPECT_EQ(undone(), original) << "60 and 61 were one step";
  EXPECT_EQ(dlg.controls().dial(1113)->GetValue(), original[patch::kBass]);
}

TEST(UndoSound, ComparingIsNoStepAndUndoEndsItFirst) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const PatchData original = DeviceLink::instance().mirror();
  dlg.OnControlChanged(kGainDial, original[patch::kGain] == 50 ? 60 : 50);
  const std::size_t steps = dlg.undoCommands().history().size();
  command(dlg, MainMenu::Compare);
  command(dlg, MainMenu::Compare);
  EXPECT_EQ(dlg.undoCommands().history().size(), steps) << "comparing on and off";

  command(dlg, MainMenu::Compare);
  command(dlg, MainMenu::Undo);
  h.service->flush();
  EXPECT_FALSE(dlg.compare().active());
  EXPECT_EQ(DeviceLink::instance().mirror(), original) << "the knob was taken back";
  EXPECT_EQ(h.sim->patch(), original);
}

TEST(UndoSound, KeysWalkTheHistoryExceptInATextFieldWhereUndoStaysTheFields) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(true);
  const uint8_t gain = DeviceLink::instance().mirror()[patch::kGain];
  dlg.OnControlChanged(kGainDial, gain == 50 ? 60 : 50);
  const PatchData turned = DeviceLink::instance().mirror();

  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  const QString before = name->text();
  QTest::keyClicks(name, "x");
  QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(name->text(), before) << "the field's own undo";
  EXPECT_EQ(DeviceLink::instance().mirror(), turned) << "the knob was not taken back";

  CVKRDial* dial = dlg.controls().dial(kGainDial);
  dial->setFocus();
  QTest::keyClick(dial, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kGain], gain);
  QTest::keyClick(dial, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(DeviceLink::instance().mirror(), turned);
  QTest::keyClick(dial, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(dial, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(DeviceLink::instance().mirror(), turned);

  // An assistive tool finds Redo in the Edit menu as it is, without opening it, and presses it.
  QTest::keyClick(dial, Qt::Key_Z, Qt::ControlModifier);
  QAccessibleInterface* edit =
      QAccessible::queryAccessibleInterface(dlg.menuBar().actions().at(1)->menu());
  QAccessibleInterface* redo = nullptr;
  for (int i = 0; edit && i < edit->childCount(); ++i)
    if (edit->child(i)->text(QAccessible::Name).startsWith(QStringLiteral("Redo")))
      redo = edit->child(i);
  ASSERT_NE(redo, nullptr);
  EXPECT_FALSE(redo->state().disabled);
  redo->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(DeviceLink::instance().mirror(), turned);
}

TEST(UndoLibrary, SaveToLibraryClearAndImportAreUndoneWithFileSavesState) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.library().library().slot(4) = namedEntry("Four");
  dlg.library().library().slot(20) = namedEntry("Twenty");
  dlg.libraryShown();
  saveLibraryAs(h, dlg);
  dlg.OnControlChanged(kGainDial, 77);
  const Library start = dlg.library().library();
  const PatchData sound = DeviceLink::instance().mirror();

  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRSaveToLibraryDlg&>(d);
    box.SelectSlot(4);
    box.NameEdit()->setText(QStringLiteral("Stored"));
    box.PressAction();
    return box.result();
  };
  command(dlg, MainMenu::SaveToLibrary);
  ASSERT_EQ(patchName(dlg.library().library().slot(4).data), "Stored");
  ASSERT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
  h.service->flush();
  h.sim->clearReceived();
  command(dlg, MainMenu::Undo);
  h.service->flush();
  EXPECT_EQ(dlg.library().library(), start) << "Save To Library undone";
  EXPECT_EQ(h.sim->patch(), sound) << "the old name is back on the amplifier";
  const std::size_t differ = patchName(sound).size();  // "Stored" is shorter than the old name
  EXPECT_EQ(h.sim->received().size(), differ) << "the name's characters, once each";
  EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
  EXPECT_TRUE(DeviceLink::instance().edited()) << "the sound is in no slot again";

  dlg.controls().libraryList()->SetCurSel(20);
  dlg.findChild<QMenu*>(QStringLiteral("listMenu"))->actions().at(0)->trigger();  // Clear
  ASSERT_EQ(patchName(dlg.library().library().slot(20).data), "Init");
  command(dlg, MainMenu::Undo);
  EXPECT_EQ(dlg.library().library(), start) << "Clear undone";
  EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), sound) << "the cleared slot's sound left the amplifier again";

  LibraryEntry imported = namedEntry("Imported");
  imported.data[patch::kGain] = 11;
  const QString file = h.config.filePath("imported.zbp");
  writePatchFile(imported, QFile::encodeName(file).toStdString());
  h.boxes.files = {file};
  h.boxes.answers = {IMessageBoxes::No};  // the edited sound need not be stored first
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchImpDlg&>(d);
    box.SelectSlot(20);
    box.PressAction();
    return box.result();
  };
  command(dlg, MainMenu::Import);
  ASSERT_EQ(dlg.library().library().slot(20), imported);
  command(dlg, MainMenu::Undo);
  EXPECT_EQ(dlg.library().library(), start) << "Import undone";
  EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
  EXPECT_EQ(DeviceLink::instance().mirror(), sound);

  command(dlg, MainMenu::Redo);
  EXPECT_EQ(dlg.library().library().slot(20), imported);
  EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
  EXPECT_EQ(dlg.library().currentSlot(), 20);
}

}  // namespace
}  // namespace orv
