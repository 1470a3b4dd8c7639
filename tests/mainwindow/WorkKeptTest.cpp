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
#include "patch/LibraryFile.h"

namespace orv {
namespace {

using test::MainWindowHarness;

constexpr int kTrebleDisplay = 1105;

uint8_t treble() {
  return DeviceLink::instance().mirror()[patch::kTreble];
}

// Silences the amplifier until the link drops.
void unplug(MainWindowHarness& h) {
  h.sim->setSilent(true);
  h.tick();
  h.advanceSeconds(4);
  ASSERT_TRUE(h.tickUntil([&] { return !h.dlg->connectedIndicator(); }, 5));
}

// Import's "Save": the slot takes the sound as it is when the user confirms (a knob turned on the
// amplifier meanwhile included) and the amplifier's model; the import dialog preselects nothing.
TEST(WorkKept, TheSaveAnswerStoresTheSoundOfTheMomentWithTheModel) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('3');
  int preselected = -2;
  h.boxes.onDialog = [&](QDialog& d) {
    if (auto* imp = qobject_cast<CVKRPatchImpDlg*>(&d)) {
      preselected = imp->SelectedSlot();
      return int(QDialog::Rejected);
    }
    h.sim->turnKnob(1006, 97);  // treble
    h.service->flush();
    auto& box = static_cast<CVKRSaveToLibraryDlg&>(d);
    box.SelectSlot(5);
    box.PressAction();
    return box.result();
  };
  h.boxes.answers = {IMessageBoxes::Yes};
  dlg.menu().action(MainMenu::Import)->trigger();
  const LibraryEntry& stored = dlg.library().library().slot(5);
  EXPECT_EQ(stored.data[patch::kTreble], 97);
  EXPECT_EQ(stored.modelCode, '3');
  EXPECT_FALSE(DeviceLink::instance().edited());
  EXPECT_EQ(preselected, -1) << "Enter must not import over the sound just saved";
}

TEST(WorkKept, AnAmplifierComingBackIsOfferedTheSoundEditedWhileItWasAway) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  unplug(h);
  dlg.OnEditChanged(kTrebleDisplay, 90);
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::Yes};
  h.sim->setSilent(false);
  ASSERT_TRUE(h.tickUntil([&] { return h.sim->patch()[patch::kTreble] == 90; }));
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(h.boxes.asked[0].yesLabel + "/" + h.boxes.asked[0].noLabel, "Send/Keep Amplifier's");
  for (int i = 0; i < 5; ++i) h.tick();
  EXPECT_EQ(treble(), 90);

  unplug(h);  // and this time the amplifier's sound is kept
  dlg.OnEditChanged(kTrebleDisplay, 10);
  h.boxes.answers = {IMessageBoxes::No};
  h.sim->setSilent(false);
  EXPECT_TRUE(h.tickUntil([&] { return treble() == 90 && h.boxes.asked.size() == 2; }));
}

TEST(WorkKept, NewKeepsTheSoundOnThePanelAndTheAmplifier) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.OnControlChanged(1111, 12);  // gain
  const PatchData sound = DeviceLink::instance().mirror();
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::New)->trigger();
  h.service->flush();
  EXPECT_TRUE(h.boxes.asked.empty()) << "the amplifier holds the sound";
  EXPECT_EQ(dlg.controls().libraryList()->GetText(0), "001 Empty");
  EXPECT_EQ(h.sim->patch(), sound);
  EXPECT_EQ(DeviceLink::instance().mirror(), sound);
}

TEST(WorkKept, AMistypedLibraryOnTheCommandLineKeepsTheConfiguredOne) {
  MainWindowHarness h;
  const std::string good = QFile::encodeName(h.config.filePath("Good.ZBL")).toStdString();
  writeLibrary(makeNewLibrary(PatchData{}), good);
  CVKRPrefData::instance().setLibraryPath(good);
  h.commandLineFile = h.config.filePath("nonexist.ZBL");
  CVKREditorDlg& dlg = h.open();
  EXPECT_EQ(h.boxes.texts(), QStringList{"Failed to load Library file."});
  EXPECT_EQ(dlg.controls().libraryName()->text(), "Good");
  ASSERT_TRUE(dlg.close());
  CVKRPrefData read;
  read.read();
  EXPECT_EQ(read.libraryPath(), good);
}

TEST(WorkKept, TextThatIsNoNumberIsRefused) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  CVKRNumberEditText* display = dlg.controls().display(kTrebleDisplay);
  const uint8_t before = treble();
  h.sim->clearReceived();
  QTest::mouseDClick(display, Qt::LeftButton);
  QTest::keyClicks(display->Entry(), "abc");
  QTest::keyClick(display->Entry(), Qt::Key_Return);
  h.service->flush();
  EXPECT_FALSE(display->IsEntryOpen());
  EXPECT_EQ(display->GetValue(), before);
  EXPECT_EQ(treble(), before);
  EXPECT_TRUE(h.sim->received().empty());
}

TEST(WorkKept, UsbVolumeIsLiveOnceConnectedAndItsMarkMovesOnlyOnceSent) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  ASSERT_TRUE(h.tickUntil([&] { return dlg.menu().usbVolumeEnabled(); }));
  const int volume = h.sim->settings()[AmpSimulator::kUsbVolume];
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), volume);
  h.sim->vanish();  // gone, but the link has not noticed yet
  h.service->flush();
  dlg.menu().action(MainMenu::Volume5)->trigger();
  EXPECT_EQ(h.boxes.texts().last(), "USB communication error.");
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), volume);
}

// The amplifier holds the sound it sent: quitting loses nothing, a slot pick would replace it.
TEST(WorkKept, AFreshlyConnectedEditorQuitsWithoutAQuestionButAsksBeforeAPick) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  h.boxes.asked.clear();
  CVKRListBox* list = dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(4).center());  // answered Cancel
  EXPECT_EQ(h.boxes.texts(), QStringList{"Patch data has been edited. \nDo you want to save?"});
  EXPECT_TRUE(dlg.close());
  EXPECT_EQ(h.boxes.asked.size(), 1u);
}

}  // namespace
}  // namespace orv
