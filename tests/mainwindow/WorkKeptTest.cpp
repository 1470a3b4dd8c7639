// Flows that must never lose the user's sound, library or settings.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "controls/VKRListBox.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKRPatchImpDlg.h"
#include "mainwindow/VKRSaveToLibraryDlg.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"

namespace orv {
namespace {

using test::MainWindowHarness;

constexpr int kTrebleId = 1006, kTrebleDisplay = 1105, kGainDial = 1111;

std::string fsPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

// The save-to-library dialog stores into `slot`; any other dialog is cancelled. `meanwhile` runs
// while the save dialog is open.
std::function<int(QDialog&)> storeInto(int slot, std::function<void()> meanwhile = {}) {
  return [=](QDialog& d) {
    auto* box = qobject_cast<CVKRSaveToLibraryDlg*>(&d);
    if (!box) return int(QDialog::Rejected);
    if (meanwhile) meanwhile();
    box->SelectSlot(slot);
    box->PressAction();
    return box->result();
  };
}

bool anyBulkDump(const AmpSimulator& sim) {
  for (const AmpSimulator::Bytes& m : sim.received())
    if (AmpSimulator::isBulkDump(m)) return true;
  return false;
}

// Silences the amplifier until the link drops.
void unplug(MainWindowHarness& h) {
  h.sim->setSilent(true);
  h.tick();
  h.advanceSeconds(4);
  ASSERT_TRUE(h.tickUntil([&] { return !h.dlg->connectedIndicator(); }, 5));
}

TEST(WorkKept, AKnobTurnedOnTheAmplifierWhileSavingToTheLibraryIsStored) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.boxes.onDialog = storeInto(7, [&] {
    h.sim->turnKnob(kTrebleId, 97);
    h.service->flush();
  });
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();
  EXPECT_EQ(dlg.library().library().slot(7).data[patch::kTreble], 97);
  EXPECT_EQ(dlg.library().library().slot(7).data, DeviceLink::instance().mirror());
  EXPECT_FALSE(DeviceLink::instance().edited());
}

TEST(WorkKept, TheImportQuestionsSaveStoresTheModelAndPreselectsNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('3');
  ASSERT_TRUE(DeviceLink::instance().edited());
  int preselected = -2;
  auto store = storeInto(5);
  h.boxes.onDialog = [&](QDialog& d) {
    if (auto* imp = qobject_cast<CVKRPatchImpDlg*>(&d)) {
      preselected = imp->SelectedSlot();
      return int(QDialog::Rejected);
    }
    return store(d);
  };
  h.boxes.answers = {IMessageBoxes::Yes};
  dlg.menu().action(MainMenu::Import)->trigger();
  EXPECT_EQ(dlg.library().library().slot(5).modelCode, '3');
  EXPECT_EQ(preselected, -1) << "Enter must not import over the sound just saved";
}

TEST(WorkKept, AnAmplifierComingBackIsOfferedTheSoundEditedWhileItWasAway) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  const uint8_t ampTreble = h.sim->patch()[patch::kTreble];
  unplug(h);
  dlg.OnEditChanged(kTrebleDisplay, 90);
  ASSERT_NE(ampTreble, 90);
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::Yes};

  h.sim->setSilent(false);
  ASSERT_TRUE(h.tickUntil([&] { return !h.boxes.asked.empty(); }));
  const IMessageBoxes::Request& asked = h.boxes.asked[0];
  EXPECT_EQ(asked.text,
            "Patch data has been edited while the amplifier was away. \nDo you want "
            "to send it to the amplifier?");
  EXPECT_EQ(asked.yesLabel, "Send");
  EXPECT_EQ(asked.noLabel, "Keep Amplifier's");
  ASSERT_TRUE(h.tickUntil([&] { return h.sim->patch()[patch::kTreble] == 90; }));
  for (int i = 0; i < 5; ++i) h.tick();
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kTreble], 90);
  EXPECT_EQ(dlg.controls().display(kTrebleDisplay)->GetValue(), 90);

  // Away again, and this time the amplifier's sound is kept.
  unplug(h);
  dlg.OnEditChanged(kTrebleDisplay, 10);
  h.boxes.answers = {IMessageBoxes::No};
  h.sim->setSilent(false);
  ASSERT_TRUE(
      h.tickUntil([&] { return dlg.controls().display(kTrebleDisplay)->GetValue() == 90; }));
  EXPECT_EQ(h.boxes.asked.size(), 2u);
}

TEST(WorkKept, NewKeepsTheSoundOnThePanelAndTheAmplifier) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.OnControlChanged(kGainDial, 12);
  dlg.library().setCurrentSlot(3);
  const PatchData sound = DeviceLink::instance().mirror();
  h.service->flush();
  h.sim->clearReceived();
  h.boxes.asked.clear();

  dlg.menu().action(MainMenu::New)->trigger();
  h.service->flush();
  EXPECT_TRUE(h.boxes.asked.empty()) << "the amplifier holds the sound, the library was saved";
  EXPECT_EQ(dlg.controls().libraryList()->GetText(0), "001 Empty");
  EXPECT_FALSE(anyBulkDump(*h.sim));
  EXPECT_EQ(h.sim->patch()[patch::kGain], 12);
  EXPECT_EQ(DeviceLink::instance().mirror(), sound);
  EXPECT_EQ(dlg.controls().nameEdit()->text(), QString::fromLatin1(patchName(sound).c_str()));
  EXPECT_EQ(dlg.library().currentSlot(), -1);
}

TEST(WorkKept, AMistypedLibraryOnTheCommandLineKeepsTheConfiguredOne) {
  MainWindowHarness h;
  const QString good = h.config.filePath("Good.ZBL");
  Library lib = makeNewLibrary(PatchData{});
  initPatch("Kept", lib.slot(0).data);
  writeLibrary(lib, fsPath(good));
  CVKRPrefData::instance().setLibraryPath(fsPath(good));
  CVKRPrefData::instance().setSaved(1);
  h.commandLineFile = h.config.filePath("nonexist.ZBL");

  CVKREditorDlg& dlg = h.open();
  EXPECT_EQ(h.boxes.texts(), QStringList{"Failed to load Library file."});
  EXPECT_EQ(dlg.controls().libraryName()->text(), "Good");
  EXPECT_EQ(dlg.controls().libraryList()->GetText(0), "001 Kept");
  ASSERT_TRUE(dlg.close());
  CVKRPrefData read;
  read.read();
  EXPECT_EQ(read.libraryPath(), fsPath(good));
}

TEST(WorkKept, TextThatIsNoNumberIsRefusedAndAValueOutOfRangeStillClamped) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  CVKRNumberEditText* treble = dlg.controls().display(kTrebleDisplay);
  const int before = treble->GetValue();
  ASSERT_NE(before, 0);
  h.sim->clearReceived();

  QTest::mouseDClick(treble, Qt::LeftButton);
  ASSERT_TRUE(treble->IsEntryOpen());
  QTest::keyClicks(treble->Entry(), "abc");
  QTest::keyClick(treble->Entry(), Qt::Key_Return);
  h.service->flush();
  EXPECT_FALSE(treble->IsEntryOpen());
  EXPECT_EQ(treble->GetValue(), before);
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kTreble], before);
  EXPECT_TRUE(h.sim->received().empty());

  QTest::mouseDClick(treble, Qt::LeftButton);
  QTest::keyClicks(treble->Entry(), "99");
  QTest::keyClick(treble->Entry(), Qt::Key_Return);
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kTreble], 100);
}

TEST(WorkKept, UsbVolumeIsLiveOnceConnectedAndItsMarkMovesOnlyOnceSent) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  ASSERT_TRUE(h.tickUntil([&] { return dlg.menu().usbVolumeEnabled(); }))
      << "no Settings Request went out on connection";
  const int volume = h.sim->settings()[AmpSimulator::kUsbVolume];
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), volume);

  h.sim->vanish();  // gone, but the link has not noticed yet
  h.service->flush();
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Volume5)->trigger();
  EXPECT_EQ(h.boxes.texts(), QStringList{"USB communication error."});
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), volume);
}

TEST(WorkKept, AFreshlyConnectedEditorQuitsWithoutAQuestionButAsksBeforeAPick) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  h.boxes.asked.clear();
  CVKRListBox* list = dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(4).center());  // answered Cancel
  EXPECT_EQ(h.boxes.texts(), QStringList{"Patch data has been edited. \nDo you want to save?"});
  h.boxes.asked.clear();
  EXPECT_TRUE(dlg.close());
  EXPECT_TRUE(h.boxes.asked.empty());
}

}  // namespace
}  // namespace orv
