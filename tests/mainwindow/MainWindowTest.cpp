#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QThread>
#include <algorithm>

#include "controls/CustomButton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRNumberEditText.h"
#include "controls/VKRPullDownMenu.h"
#include "controls/WindowEvents.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PanelSurface.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"
#include "support/WaitFor.h"

namespace orv {
namespace {

using test::MainWindowHarness;
using Bytes = AmpSimulator::Bytes;
using namespace std::chrono_literals;

QString settingsFile() {
  return QString::fromStdString(CVKRPrefData::settingsFile().string());
}

// The Parameter Changes the simulator received for `offset`, as their last data byte.
std::vector<int> changesAt(const AmpSimulator& sim, int offset) {
  std::vector<int> out;
  for (const Bytes& m : sim.received())
    if (AmpSimulator::isParameterChange(m) && m.size() >= 10 && m[6] * 128 + m[7] == offset)
      out.push_back(m[9]);
  return out;
}

void drag(QWidget* w, QPoint from, QPoint to) {
  QMouseEvent press(QEvent::MouseButtonPress, from, w->mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, w->mapToGlobal(to), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

// --- Start-up --------------------------------------------------------------------------------

TEST(MainWindowStartUp, WithoutSettingsAsksForThePresetLibraryAndShowsANeutralPanel) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();

  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(h.boxes.asked[0].text, "Please import preset library.");
  EXPECT_EQ(h.boxes.asked[0].icon, IMessageBoxes::Icon::Exclamation);
  EXPECT_EQ(h.boxes.asked[0].buttons, IMessageBoxes::Ok);

  const Library& library = dlg.library().library();
  ASSERT_EQ(library.size(), 100u);
  EXPECT_EQ(rowText(library, 0), "001 Empty");
  EXPECT_EQ(rowText(library, 99), "100 Empty");
  EXPECT_FALSE(dlg.library().hasPendingChanges());

  PanelControls& c = dlg.controls();
  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 4) << "five amplifier types before any amplifier";
  for (int id = 1019; id <= 1023; ++id) EXPECT_EQ(c.button(id)->GetState(), 0) << id;
  for (int id : {1033, 1034, 1036}) {
    EXPECT_EQ(c.pullDown(id)->GetSelection(), 0) << id;
    EXPECT_FALSE(c.pullDown(id)->isEnabled()) << id;
  }
  EXPECT_FALSE(dlg.connectedIndicator());
  EXPECT_FALSE(dlg.menu().usbVolumeEnabled());
  EXPECT_TRUE(c.saveToLibrary()->isEnabled());
  EXPECT_EQ(c.nameEdit()->text(), "Empty");
  EXPECT_FALSE(dlg.portsOpen()) << "no amplifier, no port names";
  EXPECT_TRUE(CVKRPrefData::instance().midiIn().empty());
}

TEST(MainWindowStartUp, AFirstStartLeavesTheConnectedAmplifiersSoundAlone) {
  MainWindowHarness h;
  AmpSimulator& sim = h.startSimulator();
  sim.setSilent(true);  // it announces itself when the test says so
  const PatchData before = sim.patch();
  bool announced = false, connectedWhileAsking = false;
  h.boxes.whileShown = [&](const IMessageBoxes::Request&) {
    // The user reads "Please import preset library." while the amplifier announces itself.
    announced = sim.sendIdentity() == 0;
    h.tick();
    h.tick();
    connectedWhileAsking = DeviceLink::instance().isConnected();
  };
  CVKREditorDlg& dlg = h.open();
  h.boxes.whileShown = nullptr;
  ASSERT_TRUE(announced) << "no Identity went out while the box was open";
  EXPECT_FALSE(connectedWhileAsking);
  EXPECT_EQ(h.boxes.texts(), QStringList{"Please import preset library."});

  h.service->flush();
  for (const Bytes& m : sim.received()) EXPECT_FALSE(AmpSimulator::isBulkDump(m));
  EXPECT_EQ(sim.patch(), before);

  ASSERT_EQ(sim.sendIdentity(), 0);
  EXPECT_TRUE(h.tickUntil([&] {
    return dlg.connectedIndicator() && dlg.controls().nameEdit()->text() == "ORV Sim Clean";
  })) << "the amplifier connects once the set-up is done";
  EXPECT_EQ(sim.patch(), before);
}

TEST(MainWindowStartUp, ClientAreaIsExactly800By600BelowTheMenuBarAndFixed) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  dlg.show();
  EXPECT_EQ(dlg.surface().size(), QSize(800, 600));
  EXPECT_EQ(dlg.surface().y(), dlg.menuBar().geometry().bottom() + 1);
  EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
  EXPECT_EQ(dlg.width(), 800);
  EXPECT_TRUE(dlg.windowFlags() & Qt::WindowMinimizeButtonHint) << "can be minimised";
}

// --- Connection ------------------------------------------------------------------------------

TEST(MainWindowConnection, ConnectingLightsTheIndicatorAndShowsTheAmplifiersPatch) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('2');

  EXPECT_TRUE(dlg.connectedIndicator());
  EXPECT_TRUE(dlg.portsOpen());
  EXPECT_TRUE(dlg.modelKnown());
  EXPECT_EQ(dlg.modelCode(), '2');
  EXPECT_EQ(CVKRPrefData::instance().midiIn(), "ORV10") << "the default port name was taken";

  const PatchData amp = h.sim->patch();
  PanelControls& c = dlg.controls();
  EXPECT_EQ(c.nameEdit()->text(), "ORV Sim Clean");
  EXPECT_EQ(c.ampTypeKnob()->GetMax(), 7);
  EXPECT_EQ(c.ampTypeKnob()->GetValue(), amp[patch::kAmpType]);
  EXPECT_EQ(c.button(1087 + amp[patch::kAmpType])->GetState(), 1);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(c.dial(1111 + i)->GetValue(), amp[patch::kGain + i]) << i;
    EXPECT_EQ(c.display(1101 + i)->GetValue(), amp[patch::kGain + i]) << i;
  }
  EXPECT_EQ(c.button(1022)->GetState(), 1) << "reverb on";
  EXPECT_EQ(c.dial(1231)->GetValue(), 30) << "Spring's first knob";
  EXPECT_TRUE(DeviceLink::instance().edited()) << "the amplifier's patch differs from the panel's";
}

TEST(MainWindowConnection, SilenceDarkensTheIndicatorGraysUsbVolumeAndThePortsReopen) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  DeviceLink::instance().requestSettings();
  ASSERT_TRUE(h.tickUntil([&] { return dlg.menu().usbVolumeEnabled(); }));
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), h.sim->settings()[AmpSimulator::kUsbVolume]);

  h.sim->setSilent(true);  // returns once no further Identity can leave the simulator
  h.tick();                // delivers one already on its way before time moves on
  h.advanceSeconds(4);
  ASSERT_TRUE(h.tickUntil([&] { return !dlg.connectedIndicator(); }, 5));
  EXPECT_FALSE(dlg.menu().usbVolumeEnabled());
  EXPECT_EQ(dlg.modelCode(), '1') << "kept after a disconnection";

  // Not connected: the next ticks open the ports again by their names.
  EXPECT_TRUE(h.tickUntil([&] { return dlg.portsOpen(); }, 5));
  h.sim->setSilent(false);
  EXPECT_TRUE(h.tickUntil([&] { return dlg.connectedIndicator(); }));
  EXPECT_FALSE(dlg.menu().usbVolumeEnabled()) << "grayed until the volume is reported again";
}

TEST(MainWindowConnection, AmplifierPluggedInLaterIsFoundByItsDefaultName) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  EXPECT_FALSE(dlg.portsOpen());
  h.startSimulator('1', "ORV5");
  EXPECT_TRUE(h.tickUntil([&] { return dlg.connectedIndicator(); }));
  EXPECT_EQ(CVKRPrefData::instance().midiOut(), "ORV5");
}

TEST(MainWindowConnection, UnpluggingTheAmplifierIsNoticedFromTheDeviceLists) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.sim->vanish();
  // No time passes on the link's clock: only the device-list check can notice.
  EXPECT_TRUE(test::waitServingEvents([&] { return !dlg.connectedIndicator(); }, 5s))
      << "the vanished amplifier was not noticed";
  EXPECT_FALSE(dlg.portsOpen());
  EXPECT_FALSE(dlg.menu().usbVolumeEnabled());

  h.sim->comeBack();
  EXPECT_TRUE(h.tickUntil([&] { return dlg.connectedIndicator(); }));
}

// --- Gestures --------------------------------------------------------------------------------

TEST(MainWindowGestures, KnobDragReachesTheAmplifier) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.sim->clearReceived();
  CVKRDial* master = dlg.controls().dial(1112);
  const int before = master->GetValue();
  drag(master, master->rect().center(), QPoint(0, master->height() / 2));
  ASSERT_NE(master->GetValue(), before);

  h.service->flush();
  const std::vector<int> sent = changesAt(*h.sim, patch::kMaster);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), master->GetValue());
  EXPECT_EQ(h.sim->patch()[patch::kMaster], master->GetValue());
  EXPECT_EQ(dlg.controls().display(1102)->GetValue(), master->GetValue());
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), -1);
}

TEST(MainWindowGestures, KnobTurnedOnTheAmplifierMovesThatControlOnly) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  std::vector<int> others;
  for (int id : {1111, 1112, 1114, 1115}) others.push_back(c.dial(id)->GetValue());

  h.sim->turnKnob(1004, 77);  // bass
  ASSERT_TRUE(h.tickUntil([&] { return c.dial(1113)->GetValue() == 77; }));
  EXPECT_EQ(c.display(1103)->GetValue(), 77);
  std::vector<int> after;
  for (int id : {1111, 1112, 1114, 1115}) after.push_back(c.dial(id)->GetValue());
  EXPECT_EQ(after, others);
}

TEST(MainWindowGestures, AFailedSendShowsTheErrorBoxAndTheWindowGoesOn) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.boxes.asked.clear();
  h.sim->vanish();  // gone, but the link has not noticed yet
  h.service->flush();
  dlg.OnControlChanged(1111, 12);
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(h.boxes.asked[0].text, "USB communication error.");
  EXPECT_EQ(h.boxes.asked[0].caption, "ORV Editor");
  EXPECT_EQ(h.boxes.asked[0].icon, IMessageBoxes::Icon::Stop);
  EXPECT_EQ(h.boxes.asked[0].owner, &dlg);
  EXPECT_EQ(dlg.controls().dial(1111)->GetValue(), 12) << "the panel shows what the mirror holds";
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kGain], 12);
}

TEST(MainWindowGestures, SectionSwitchAndTypePullDownWriteAndRedrawTheSection) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  PanelControls& c = dlg.controls();
  h.sim->clearReceived();

  QTest::mouseClick(c.button(1020), Qt::LeftButton);  // effect on
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kEffectOn], patch::kOn);
  EXPECT_TRUE(c.pullDown(1034)->isEnabled());

  // Choosing "Tremolo" (item 3) writes data type 2 and shows two knobs.
  QCoreApplication::postEvent(&dlg, new WindowMessage(WM_PULLDOWN_CHANGED, 1, 3));
  QCoreApplication::processEvents();
  h.service->flush();
  EXPECT_EQ(h.sim->patch()[patch::kEffectType], patch::Tremolo);
  EXPECT_TRUE(c.dial(1172)->isVisibleTo(&dlg));
  EXPECT_FALSE(c.dial(1173)->isVisibleTo(&dlg));
}

// --- USB volume ------------------------------------------------------------------------------

TEST(MainWindowUsbVolume, ChoosingAVolumeSendsItAndMovesTheMarkAtOnce) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  DeviceLink::instance().requestSettings();
  ASSERT_TRUE(h.tickUntil([&] { return dlg.menu().usbVolumeEnabled(); }));

  dlg.menu().action(MainMenu::Volume1 + 2)->trigger();  // "Volume:3"
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), 2);
  h.service->flush();
  EXPECT_EQ(h.sim->settings()[AmpSimulator::kUsbVolume], 2);

  dlg.menu().action(MainMenu::Volume1 + 2)->trigger();  // again: stays checked
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), 2);
}

TEST(MainWindowUsbVolume, OnlyReportsOfTheUsbVolumeConcernTheWindow) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  for (int v : {0x0001, 0x0101, 0x0300, 511, 768}) {
    QCoreApplication::postEvent(&dlg,
                                new WindowMessage(WM_DEVICE_EVENT, EVENT_SETTING_REPORTED, v));
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg.menu().usbVolumeEnabled()) << v;
  }
  QCoreApplication::postEvent(&dlg,
                              new WindowMessage(WM_DEVICE_EVENT, EVENT_SETTING_REPORTED, 0x0204));
  QCoreApplication::processEvents();
  EXPECT_TRUE(dlg.menu().usbVolumeEnabled());
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), 4);
  QCoreApplication::postEvent(&dlg,
                              new WindowMessage(WM_DEVICE_EVENT, EVENT_SETTING_REPORTED, 0x0207));
  QCoreApplication::processEvents();
  EXPECT_EQ(dlg.menu().checkedUsbVolume(), -1) << "a volume above 4 leaves all five unchecked";
}

TEST(MainWindowMenu, SaveStartsGrayedAndCommandsThatComeLaterStayGrayed) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  for (int id : {MainMenu::Save}) EXPECT_FALSE(dlg.menu().isEnabled(id)) << id;
  for (int id :
       {MainMenu::New, MainMenu::Open, MainMenu::SaveAs, MainMenu::SaveToLibrary, MainMenu::Import,
        MainMenu::Export, MainMenu::Quit, MainMenu::Help, MainMenu::About, MainMenu::Preferences})
    EXPECT_TRUE(dlg.menu().isEnabled(id)) << id;
}

// --- Keyboard --------------------------------------------------------------------------------

TEST(MainWindowKeyboard, EscapeNeverClosesEnterInTheNameMovesToTheList) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  for (QWidget* target : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(name),
                          static_cast<QWidget*>(dlg.controls().dial(1111))}) {
    QTest::keyClick(target, Qt::Key_Escape);
    QTest::keyClick(target, Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_TRUE(dlg.isVisible());
    name->setFocus();
  }
  EXPECT_EQ(dlg.result(), 0);
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_TRUE(dlg.controls().libraryList()->hasFocus());
  EXPECT_TRUE(h.boxes.asked.size() == 1) << "only the start-up hint";
}

TEST(MainWindowKeyboard, TypingANameTouchesThePatchAndLeavingTheEditCommitsIt) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  DeviceLink::instance().setEdited(false);
  h.sim->clearReceived();
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "Lead");
  EXPECT_TRUE(DeviceLink::instance().edited());
  emit name->editingFinished();
  h.service->flush();
  PatchData amp = h.sim->patch();
  EXPECT_EQ(patchName(amp), "Lead");
  EXPECT_EQ(dlg.patchName(), "Lead");
}

// --- Closing ---------------------------------------------------------------------------------

TEST(MainWindowClosing, UnsavedLibraryAsksAndNoKeepsEverythingUnwritten) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  dlg.library().library().slot(0).data[patch::kGain] ^= 1;
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::No};

  EXPECT_FALSE(dlg.close());
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(h.boxes.asked[0].text,
            "Library/Patch data has been edited. \nAre you sure you want to quit?");
  EXPECT_EQ(h.boxes.asked[0].buttons, IMessageBoxes::Yes | IMessageBoxes::No);
  EXPECT_EQ(h.boxes.asked[0].icon, IMessageBoxes::Icon::Exclamation);
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_FALSE(QFile::exists(settingsFile()));
  EXPECT_TRUE(dlg.connectedIndicator());
  h.sim->turnKnob(1002, 9);
  EXPECT_TRUE(h.tickUntil([&] { return dlg.controls().dial(1111)->GetValue() == 9; }))
      << "still listening to the amplifier";
}

TEST(MainWindowClosing, YesWritesAllSettingsAndReleasesTheDeviceLink) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  dlg.move(40, 30);
  h.boxes.answers = {IMessageBoxes::Yes};
  EXPECT_TRUE(dlg.close());
  EXPECT_FALSE(dlg.isVisible());
  ASSERT_TRUE(QFile::exists(settingsFile()));

  CVKRPrefData read;
  read.read();
  EXPECT_EQ(read.midiIn(), "ORV10");
  EXPECT_EQ(read.midiOut(), "ORV10");
  EXPECT_EQ(read.posX(), dlg.pos().x());
  EXPECT_EQ(read.saved(), 1);

  // Nothing brings the link back once the window has closed: not a late hand-over, not the
  // name edit losing the focus.
  const int made = h.backendsMade;
  EXPECT_FALSE(dlg.HandOver(h.config.filePath("late.ZBL"))) << "refused: the second start says so";
  QCoreApplication::processEvents();
  emit dlg.controls().nameEdit()->editingFinished();
  EXPECT_EQ(h.backendsMade, made);
  EXPECT_FALSE(DeviceLink::instance().isConnected()) << "a new link: the old one went";
  EXPECT_EQ(h.backendsMade, made + 1);
}

TEST(MainWindowClosing, QuitDuringTheFirstStartBoxWaitsUntilTheSetUpIsDone) {
  MainWindowHarness h;
  h.startSimulator();
  int settingsWritten = 0;
  int writtenWhileTheBoxWasUp = -1;
  h.boxes.whileShown = [&](const IMessageBoxes::Request& r) {
    if (r.text != "Please import preset library.") return;
    QObject::connect(h.dlg.get(), &CVKREditorDlg::settingsAboutToBeWritten,
                     [&] { ++settingsWritten; });
    // Quit by its shortcut while the box runs its own event loop.
    h.dlg->menu().action(MainMenu::Quit)->trigger();
    QCoreApplication::processEvents();
    writtenWhileTheBoxWasUp = settingsWritten;
  };
  CVKREditorDlg& dlg = h.open();
  h.boxes.whileShown = nullptr;
  h.boxes.answers = {IMessageBoxes::Yes};  // quit, should the amplifier's patch count as edited
  EXPECT_EQ(writtenWhileTheBoxWasUp, 0) << "the window closed under the box";
  EXPECT_TRUE(dlg.portsOpen()) << "the set-up went on to the ports";
  EXPECT_TRUE(h.tickUntil([&] { return settingsWritten == 1; })) << "the Quit was lost";
  EXPECT_FALSE(DeviceLink::instance().isConnected());
}

TEST(MainWindowClosing, QuitWithoutChangesClosesWithoutAsking) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  dlg.show();
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Quit)->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(h.boxes.asked.empty());
}

// --- Files from outside ----------------------------------------------------------------------

TEST(MainWindowHandOver, HandOversWaitForAModalBoxAndOpenInTheOrderTheyCame) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  dlg.show();
  Library lib = makeNewLibrary(PatchData{});
  initPatch("X", lib.slot(4).data);
  const QString path = h.config.filePath(QString::fromUtf8("Bänke ライブラリ.ZBL"));
  writeLibrary(lib, QFile::encodeName(path).toStdString());

  QMessageBox modal(&dlg);
  modal.setModal(true);
  modal.show();
  h.boxes.asked.clear();
  EXPECT_TRUE(dlg.HandOver(h.config.filePath("first.txt")));
  EXPECT_TRUE(dlg.HandOver(path));
  QCoreApplication::processEvents();
  EXPECT_TRUE(h.boxes.asked.empty()) << "nothing is opened while a modal dialog is open";
  EXPECT_NE(dlg.library().library(), lib);
  bool libraryOpenedFirst = false;
  h.boxes.whileShown = [&](const IMessageBoxes::Request&) {
    libraryOpenedFirst = dlg.library().library() == lib;
  };
  modal.hide();

  ASSERT_TRUE(h.tickUntil([&] { return dlg.library().library() == lib; }))
      << "the queued library was never opened";
  EXPECT_EQ(h.boxes.texts(), QStringList{"Unsupported File"});
  EXPECT_FALSE(libraryOpenedFirst);
  EXPECT_EQ(dlg.controls().libraryName()->text(), QString::fromUtf8("Bänke ライブラリ"));
  EXPECT_EQ(dlg.controls().libraryList()->GetText(4), QStringLiteral("005 X"));
}

TEST(MainWindowHandOver, OtherExtensionsAreUnsupported) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  h.boxes.asked.clear();
  for (const char* name : {"a.ZBLX", "a.txt", "noext"}) dlg.HandOver(h.config.filePath(name));
  QCoreApplication::processEvents();
  ASSERT_EQ(h.boxes.asked.size(), 3u);
  for (const auto& r : h.boxes.asked) {
    EXPECT_EQ(r.text, "Unsupported File");
    EXPECT_EQ(r.icon, IMessageBoxes::Icon::Exclamation);
  }
}

TEST(MainWindowHandOver, APatchFileBecomesTheCurrentPatchAndTheLibraryStays) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  h.boxes.asked.clear();
  LibraryEntry entry;
  initPatch("Handed", entry.data);
  entry.data[patch::kGain] = 88;
  entry.modelCode = '1';
  const QString path = h.config.filePath("p.ZBP");
  writePatchFile(entry, QFile::encodeName(path).toStdString());
  const Library before = dlg.library().library();

  h.boxes.answers = {IMessageBoxes::No};  // "No Save": go on without storing the edited patch
  dlg.HandOver(path);
  QCoreApplication::processEvents();
  h.service->flush();
  EXPECT_EQ(dlg.controls().dial(1111)->GetValue(), 88);
  EXPECT_EQ(dlg.patchName(), "Handed");
  EXPECT_EQ(h.sim->patch()[patch::kGain], 88) << "sent whole to the amplifier";
  EXPECT_TRUE(DeviceLink::instance().edited());
  EXPECT_EQ(dlg.library().library(), before);
}

}  // namespace
}  // namespace orv
