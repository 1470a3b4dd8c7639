#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/SoundCompare.h"
#include "patch/Library.h"

namespace orv {
namespace {

using test::MainWindowHarness;

constexpr int kGainDial = 1111;
constexpr int kBassDial = 1113;
constexpr int kEffectSwitch = 1020;

QAccessibleInterface* face(QWidget* w) {
  return QAccessible::queryAccessibleInterface(w);
}

bool stepsOffered(QWidget* knob) {
  return face(knob)->actionInterface()->actionNames().contains(
      QAccessibleActionInterface::increaseAction());
}

// Slot 4 holds "Stored" (gain 20); it is loaded and then edited on the panel to gain 100.
struct EditedSlot {
  explicit EditedSlot(MainWindowHarness& h) : dlg(h.openShown(/*connected=*/true)) {
    initPatch("Stored", stored);
    stored[patch::kGain] = 20;
    dlg.library().library().slot(3).data = stored;
    dlg.libraryShown();
    h.boxes.answers = {IMessageBoxes::No};  // the amplifier's edited patch is dropped
    CVKRListBox* list = dlg.controls().libraryList();
    QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(3).center());
    gain()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(gain(), Qt::Key_End);
    h.service->flush();
    edited = DeviceLink::instance().mirror();
    EXPECT_EQ(edited[patch::kGain], 100);
    EXPECT_EQ(h.sim->patch(), edited);
    h.boxes.asked.clear();
  }
  CVKRDial* gain() const { return dlg.controls().dial(kGainDial); }
  QString shownName() const { return dlg.controls().nameEdit()->text(); }
  void pressCompare() const { QTest::keyClick(gain(), Qt::Key_K, Qt::ControlModifier); }

  CVKREditorDlg& dlg;
  PatchData stored;
  PatchData edited;
};

TEST(Compare, TheAmplifierPlaysTheStoredSoundUntilCompareOrEscapeBringsTheEditBack) {
  MainWindowHarness h;
  EditedSlot s(h);
  s.pressCompare();
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), s.stored) << "the amplifier plays the stored sound";
  EXPECT_EQ(s.gain()->GetValue(), 20);
  EXPECT_EQ(s.shownName(), "Compare: Stored");
  EXPECT_TRUE(s.dlg.menu().action(MainMenu::Compare)->isChecked());
  EXPECT_TRUE(DeviceLink::instance().edited()) << "the questions still see the edited sound";

  // Locked: keys, the name and assistive tools change nothing.
  QTest::keyClick(s.gain(), Qt::Key_Home);
  QTest::keyClick(s.dlg.controls().nameEdit(), Qt::Key_A);
  EXPECT_FALSE(stepsOffered(s.gain()));
  face(s.gain())->valueInterface()->setCurrentValue(0);
  CCustomButton* effect = s.dlg.controls().button(kEffectSwitch);
  const int effectState = effect->GetState();
  face(effect)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  h.service->flush();
  EXPECT_EQ(s.gain()->GetValue(), 20);
  EXPECT_EQ(effect->GetState(), effectState);
  EXPECT_EQ(h.sim->patch(), s.stored);
  EXPECT_EQ(s.shownName(), "Compare: Stored");

  QTest::keyClick(s.gain(), Qt::Key_Escape);
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), s.edited) << "Escape sends the edited sound back";
  EXPECT_EQ(DeviceLink::instance().mirror(), s.edited);
  EXPECT_EQ(s.gain()->GetValue(), 100);
  EXPECT_EQ(s.shownName(), "Stored");
  EXPECT_FALSE(s.dlg.menu().action(MainMenu::Compare)->isChecked());
  EXPECT_TRUE(stepsOffered(s.gain()));
  EXPECT_TRUE(h.boxes.asked.empty()) << "nothing asked, nothing stored";
  EXPECT_EQ(s.dlg.library().library().slot(3).data, s.stored);

  // The menu item goes both ways as well.
  s.dlg.menu().action(MainMenu::Compare)->trigger();
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), s.stored);
  s.dlg.menu().action(MainMenu::Compare)->trigger();
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), s.edited);
  EXPECT_FALSE(s.dlg.compare().active());
}

TEST(Compare, ASlotPickOrQuitEndsComparingAndTheirQuestionsSeeTheEditedSound) {
  MainWindowHarness h;
  EditedSlot s(h);
  s.pressCompare();
  h.boxes.answers = {IMessageBoxes::Cancel};
  CVKRListBox* list = s.dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(6).center());
  h.service->flush();
  EXPECT_EQ(h.boxes.texts(), QStringList{"Patch data has been edited. \nDo you want to save?"});
  EXPECT_FALSE(s.dlg.compare().active());
  EXPECT_EQ(DeviceLink::instance().mirror(), s.edited) << "a cancelled pick keeps the edit";
  EXPECT_EQ(h.sim->patch(), s.edited);

  s.pressCompare();
  h.service->flush();
  EXPECT_EQ(h.sim->patch(), s.stored) << "the sound the edit came from, not the cancelled pick's";
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::No};
  EXPECT_FALSE(s.dlg.close());
  h.service->flush();
  ASSERT_EQ(h.boxes.asked.size(), 1u) << "the quit question";
  EXPECT_FALSE(s.dlg.compare().active());
  EXPECT_EQ(h.sim->patch(), s.edited);
  EXPECT_EQ(s.shownName(), "Stored");
}

TEST(Compare, AKnobTurnedOnTheAmplifierEndsComparingAndLandsInTheEditedSound) {
  MainWindowHarness h;
  EditedSlot s(h);
  h.sim->turnKnob(1005, 33);  // middle, in the mirror before Compare; its event comes after
  h.service->flush();
  s.pressCompare();
  h.tick();
  h.service->flush();
  EXPECT_TRUE(s.dlg.compare().active()) << "a change from before comparing does not end it";
  ASSERT_EQ(h.sim->patch(), s.stored);
  h.sim->turnKnob(1004, 77);  // bass
  ASSERT_TRUE(h.tickUntil([&] { return !s.dlg.compare().active(); })) << "comparing went on";
  h.service->flush();
  PatchData expected = s.edited;
  expected[patch::kMiddle] = 33;
  expected[patch::kBass] = 77;
  EXPECT_EQ(DeviceLink::instance().mirror(), expected);
  EXPECT_EQ(h.sim->patch(), expected) << "the amplifier then plays the edited sound";
  EXPECT_EQ(s.gain()->GetValue(), 100);
  EXPECT_EQ(s.dlg.controls().dial(kBassDial)->GetValue(), 77);
  EXPECT_EQ(s.shownName(), "Stored");
}

TEST(Compare, ADisconnectionKeepsTheEditedSoundAndOffersItToTheAmplifierThatReturns) {
  MainWindowHarness h;
  EditedSlot s(h);
  s.pressCompare();
  h.sim->setSilent(true);
  h.tick();
  h.advanceSeconds(4);
  ASSERT_TRUE(h.tickUntil([&] { return !s.dlg.connectedIndicator(); }, 5));
  EXPECT_FALSE(s.dlg.compare().active());
  EXPECT_EQ(DeviceLink::instance().mirror(), s.edited);
  EXPECT_TRUE(DeviceLink::instance().unsent()) << "the amplifier still plays the stored sound";
  EXPECT_EQ(s.gain()->GetValue(), 100);

  h.boxes.answers = {IMessageBoxes::Yes};  // send the editor's sound
  h.sim->setSilent(false);
  EXPECT_TRUE(h.tickUntil([&] { return h.sim->patch() == s.edited; }))
      << "the edited sound never reached the amplifier that came back";
  EXPECT_EQ(h.boxes.asked.size(), 1u);
}

}  // namespace
}  // namespace orv
