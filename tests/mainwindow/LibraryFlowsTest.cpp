#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QUrl>
#include <deque>

#include "controls/CustomButton.h"
#include "controls/Rapidbutton.h"
#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "controls/VKRScrollBar.h"
#include "controls/WindowEvents.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/PatchNameGuard.h"
#include "mainwindow/VKRPatchExpDlg.h"
#include "mainwindow/VKRPatchImpDlg.h"
#include "mainwindow/VKRSaveToLibraryDlg.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"

namespace orv {
namespace {

using test::MainWindowHarness;

LibraryEntry namedEntry(const char* name, uint8_t model = patch::kAnyModel) {
  LibraryEntry e;
  initPatch(name, e.data);
  e.modelCode = model;
  return e;
}

void putSlot(CVKREditorDlg& dlg, int slot, const LibraryEntry& entry) {
  dlg.library().library().slot(std::size_t(slot)) = entry;
  dlg.libraryShown();
}

// A left click on a visible row, as the user picks it.
void pick(CVKREditorDlg& dlg, int row) {
  CVKRListBox* list = dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(row).center());
}

std::string fsPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

struct SaveDialogSeen {
  int runs = 0;
  int preselected = -2;
  bool saveEnabled = false;
};

// Answers the save-to-library dialog: picks `slot`, types `name` (unless null) and presses Save.
std::function<int(QDialog&)> storeInto(int slot, QString name = {},
                                       SaveDialogSeen* seen = nullptr) {
  return [=](QDialog& d) {
    auto* box = qobject_cast<CVKRSaveToLibraryDlg*>(&d);
    if (!box) return int(QDialog::Rejected);
    if (seen) {
      ++seen->runs;
      seen->preselected = box->SelectedSlot();
      seen->saveEnabled = box->ActionButton()->isEnabled();
    }
    box->SelectSlot(slot);
    if (!name.isNull()) box->NameEdit()->setText(name);
    box->PressAction();
    return box->result();
  };
}

// --- Picking a slot --------------------------------------------------------------------------

TEST(LibraryFlowsSlot, AnotherModelsPatchIsRefusedWhileConnected) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('2');
  DeviceLink::instance().setEdited(false);
  LibraryEntry other = namedEntry("Other", '4');
  other.data[patch::kGain] = 99;
  putSlot(dlg, 5, other);
  const PatchData before = DeviceLink::instance().mirror();
  h.boxes.asked.clear();
  h.sim->clearReceived();

  pick(dlg, 5);
  h.service->flush();
  ASSERT_EQ(h.boxes.texts(), QStringList{"Invalid Model."});
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), 5) << "the row stays";
  EXPECT_EQ(dlg.library().currentSlot(), 5);
  EXPECT_EQ(DeviceLink::instance().mirror(), before);
  EXPECT_TRUE(h.sim->received().empty()) << "nothing sent";
}

TEST(LibraryFlowsSlot, SaveAnswerStoresIntoTheChosenSlotAndLoadsThatSlot) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  putSlot(dlg, 6, namedEntry("Seven"));
  ASSERT_TRUE(DeviceLink::instance().edited());
  const PatchData edited = DeviceLink::instance().mirror();
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::Yes};
  h.boxes.onDialog = storeInto(2, QStringLiteral("Stored"));

  pick(dlg, 6);
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(h.boxes.asked[0].text, "Patch data has been edited. \nDo you want to save?");
  EXPECT_TRUE(h.boxes.asked[0].saveLabels);
  const Library& lib = dlg.library().library();
  EXPECT_EQ(rowText(lib, 2), "003 Stored");
  EXPECT_EQ(dlg.library().currentSlot(), 2);
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), 2);
  EXPECT_FALSE(DeviceLink::instance().edited());
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "Stored");
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kGain], edited[patch::kGain]) << "not slot 7";
  EXPECT_EQ(dlg.controls().nameEdit()->text(), "Stored");
}

TEST(LibraryFlowsSlot, CancelKeepsTheEditAndAnAmpTypeBeyondTheKnobIsRefused) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');  // five amplifier types
  LibraryEntry eight = namedEntry("Eight");
  eight.data[patch::kAmpType] = 7;
  putSlot(dlg, 3, eight);
  const PatchData before = DeviceLink::instance().mirror();
  CVKRListBox* list = dlg.controls().libraryList();

  h.boxes.answers = {IMessageBoxes::Cancel};
  pick(dlg, 3);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_TRUE(DeviceLink::instance().edited());
  EXPECT_EQ(DeviceLink::instance().mirror(), before);

  DeviceLink::instance().setEdited(false);
  h.boxes.asked.clear();
  pick(dlg, 3);
  EXPECT_EQ(h.boxes.texts(), QStringList{"Invalid Model."});
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(DeviceLink::instance().mirror(), before);
}

TEST(LibraryFlowsSlot, NoSaveLoadsThePickedSlotAndDropsTheEdit) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  putSlot(dlg, 6, namedEntry("Seven"));
  ASSERT_TRUE(DeviceLink::instance().edited());
  const Library before = dlg.library().library();
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::No};

  pick(dlg, 6);
  h.service->flush();
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_TRUE(h.boxes.dialogsRun.empty()) << "no store dialog";
  EXPECT_EQ(dlg.library().library(), before) << "nothing stored";
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), 6);
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "Seven");
  EXPECT_EQ(patchName(h.sim->patch()), "Seven") << "the slot's patch reached the amplifier";
  EXPECT_FALSE(DeviceLink::instance().edited());
}

TEST(LibraryFlowsSlot, AFailedStoreDuringSaveLoadsNothingAndKeepsTheEdit) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  putSlot(dlg, 6, namedEntry("Seven"));
  dlg.controls().nameEdit()->setText(QString::fromUtf8("Caf\u00e9"));  // cannot be stored
  const Library before = dlg.library().library();
  const PatchData edited = DeviceLink::instance().mirror();
  h.service->flush();
  h.sim->clearReceived();
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::Yes};

  pick(dlg, 6);
  h.service->flush();
  EXPECT_EQ(h.boxes.texts(), (QStringList{"Patch data has been edited. \nDo you want to save?",
                                          "Unsupported Characters."}));
  EXPECT_TRUE(h.boxes.dialogsRun.empty());
  EXPECT_EQ(dlg.library().library(), before);
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), -1) << "no row shows";
  EXPECT_EQ(DeviceLink::instance().mirror(), edited) << "slot 7 is not loaded";
  EXPECT_TRUE(DeviceLink::instance().edited());
  EXPECT_TRUE(h.sim->received().empty()) << "nothing sent";
}

// --- Save To Library -------------------------------------------------------------------------

TEST(LibraryFlowsStore, NothingIsStoredBeforeAnAmplifierIdentifiedItself) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  h.boxes.asked.clear();
  QTest::mouseClick(dlg.controls().saveToLibrary(), Qt::LeftButton);
  EXPECT_EQ(h.boxes.texts(), QStringList{"Invalid Model."});
  EXPECT_TRUE(h.boxes.dialogsRun.empty());
}

TEST(LibraryFlowsStore, NamesAreCheckedAndCutTo64Characters) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  const Library before = dlg.library().library();
  h.boxes.asked.clear();
  dlg.controls().nameEdit()->setText(QString::fromUtf8("Caf\u00e9"));
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();
  EXPECT_EQ(h.boxes.texts(), QStringList{"Unsupported Characters."});
  EXPECT_TRUE(h.boxes.dialogsRun.empty());
  EXPECT_EQ(dlg.library().library(), before);

  // In the dialog: an empty name keeps it open with its message, then 70 characters are cut.
  h.boxes.asked.clear();
  dlg.controls().nameEdit()->setText(QStringLiteral("Cafe"));
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRSaveToLibraryDlg&>(d);
    EXPECT_EQ(box.SelectedSlot(), -1);
    EXPECT_FALSE(box.ActionButton()->isEnabled());
    box.SelectSlot(40);
    box.NameEdit()->clear();
    box.PressAction();
    EXPECT_EQ(box.result(), 0) << "still open";
    box.NameEdit()->setText(QString(70, u'x'));
    box.PressAction();
    return box.result();
  };
  QTest::keyClick(&dlg, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(h.boxes.texts(), QStringList{"No Patch name entered."});
  EXPECT_EQ(h.boxes.asked[0].owner, nullptr);
  EXPECT_EQ(patchName(dlg.library().library().slot(40).data), std::string(64, 'x'));
  EXPECT_EQ(dlg.patchName(), QString(64, u'x'));
}

// Types `text` key by key, as a keyboard layout with those characters would send it.
void typeText(QWidget* field, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(field, &press);
  }
}

TEST(LibraryFlowsStore, NameFieldsRefuseWhatAPatchNameCannotHoldAsItIsTypedOrPasted) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  QLineEdit* name = dlg.controls().nameEdit();
  name->setFocus();
  name->selectAll();
  typeText(name, QString::fromUtf8("Cr\u00e8me \u65e5\u672c tone"));
  EXPECT_EQ(name->text(), "Crme  tone");
  EXPECT_EQ(dlg.patchName(), "Crme  tone");
  EXPECT_EQ(QToolTip::text(), PatchNameGuard::rule()) << "the user hears what a name holds";
  QGuiApplication::clipboard()->setText(QString::fromUtf8("Caf\u00e9 au lait"));
  name->selectAll();
  QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(name->text(), "Caf au lait");

  QString typed;
  h.boxes.onDialog = [&](QDialog& d) {
    QLineEdit* field = static_cast<CVKRSaveToLibraryDlg&>(d).NameEdit();
    field->clear();
    typeText(field, QString(70, u'x') + QChar(0xe9));
    typed = field->text();
    return int(QDialog::Rejected);
  };
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();
  EXPECT_EQ(typed, QString(64, u'x')) << "the 65th character cannot be typed";
}

TEST(LibraryFlowsStore, HeaderAndModelByteReachTheLibraryFile) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('3');
  QCoreApplication::postEvent(&dlg, new WindowMessage(WM_PULLDOWN_CHANGED, 1, 3));  // Tremolo
  QCoreApplication::postEvent(&dlg, new WindowMessage(WM_PULLDOWN_CHANGED, 0, 1));  // Rack
  QCoreApplication::processEvents();
  h.boxes.onDialog = storeInto(9, QStringLiteral("Head"));
  dlg.menu().action(MainMenu::SaveToLibrary)->trigger();
  EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save)) << "the library differs from its file";

  const QString file = h.config.filePath("Stored");
  h.boxes.files = {file};
  dlg.menu().action(MainMenu::Save)->trigger();  // a new library: Save runs Save as
  ASSERT_EQ(h.boxes.fileRequests.size(), 1u);
  EXPECT_EQ(h.boxes.fileRequests[0].filter, "Library Files (*.ZBL *.zbl)");
  EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
  Library read;
  readLibrary(read, fsPath(file + ".ZBL"));
  const LibraryEntry& slot = read.slot(9);
  EXPECT_EQ(patchName(slot.data), "Head");
  EXPECT_EQ(slot.header[0], patch::Rack);
  EXPECT_EQ(slot.header[1], patch::Tremolo) << "list item 3 is data type 2";
  EXPECT_EQ(slot.header[4], 0);
  EXPECT_EQ(slot.modelCode, '3');
  EXPECT_EQ(dlg.controls().libraryName()->text(), "Stored");
}

// --- Clear and the library commands ----------------------------------------------------------

TEST(LibraryFlowsCommands, ClearGivesTheSlotTheInitPatchForAnyModelWithoutAsking) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  putSlot(dlg, 11, namedEntry("Twelve", '1'));
  dlg.controls().libraryList()->SetCurSel(11);
  h.boxes.asked.clear();
  dlg.findChild<QMenu*>("listMenu")->actions().first()->trigger();
  EXPECT_TRUE(h.boxes.asked.empty());
  EXPECT_EQ(dlg.controls().libraryList()->GetText(11), "012 Init");
  EXPECT_EQ(dlg.library().library().slot(11).modelCode, 0xFF);
  EXPECT_EQ(dlg.library().currentSlot(), 11);
  EXPECT_FALSE(DeviceLink::instance().edited());
  EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
  h.service->flush();
  EXPECT_EQ(patchName(h.sim->patch()), "Init");
}

TEST(LibraryFlowsCommands, NewAnsweredYesLeavesNothingToAskOnQuit) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  putSlot(dlg, 0, namedEntry("Unsaved"));
  h.boxes.asked.clear();
  h.boxes.answers = {IMessageBoxes::Yes};
  QTest::keyClick(&dlg, Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
  EXPECT_TRUE(dlg.close());
  EXPECT_EQ(h.boxes.asked.size(), 1u);
}

TEST(LibraryFlowsCommands, AFailedOpenKeepsTheLibraryAndDeletedFileMeansSaveAs) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  Library lib = makeNewLibrary(PatchData{});
  initPatch("Kept", lib.slot(0).data);
  const QString good = h.config.filePath("Good.zbl");  // lower case opens too
  writeLibrary(lib, fsPath(good));
  QFile bad(h.config.filePath("Bad.ZBL"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("VKRP and nothing else");
  bad.close();

  h.boxes.files = {good, bad.fileName()};
  dlg.menu().action(MainMenu::Open)->trigger();
  ASSERT_EQ(dlg.library().library(), lib);
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Open)->trigger();
  EXPECT_EQ(h.boxes.texts(), QStringList{"Cannot use the selected Library file. (Format error)"});
  EXPECT_EQ(dlg.library().library(), lib);
  EXPECT_EQ(dlg.library().path(), fsPath(good));
  EXPECT_EQ(dlg.controls().libraryName()->text(), "Good");

  dlg.controls().libraryList()->SetCurSel(0);
  dlg.findChild<QMenu*>("listMenu")->actions().first()->trigger();  // Clear enables Save
  QFile::remove(good);
  const QString other = h.config.filePath("Other.zbl");
  h.boxes.files = {other};
  dlg.menu().action(MainMenu::Save)->trigger();
  ASSERT_EQ(h.boxes.fileRequests.size(), 3u);
  EXPECT_TRUE(h.boxes.fileRequests.back().save);
  EXPECT_TRUE(QFile::exists(other)) << "a typed extension is kept, in its own case";
  EXPECT_EQ(dlg.controls().libraryName()->text(), "Other");
}

// --- Import and export -----------------------------------------------------------------------

TEST(LibraryFlowsPatchFiles, ExportProposesAFileNameWithoutReservedCharacters) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  putSlot(dlg, 4, namedEntry("A/B:C?"));
  dlg.library().setCurrentSlot(4);
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchExpDlg&>(d);
    EXPECT_TRUE(box.ActionButton()->isEnabled()) << "the current slot is preselected";
    box.PressAction();
    return box.result();
  };
  const QString file = h.config.filePath("out");
  h.boxes.files = {file};
  dlg.menu().action(MainMenu::Export)->trigger();
  ASSERT_EQ(h.boxes.fileRequests.size(), 1u);
  EXPECT_EQ(h.boxes.fileRequests[0].proposedName, "A_B_C_");
  LibraryEntry read;
  readPatchFile(read, fsPath(file + ".ZBP"));
  EXPECT_EQ(read, dlg.library().library().slot(4));
}

TEST(LibraryFlowsPatchFiles, ANameWithADotGetsItsExtensionAndTheReplaceQuestionNamesIt) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  putSlot(dlg, 4, namedEntry("Vol. 2"));
  dlg.library().setCurrentSlot(4);
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchExpDlg&>(d);
    box.PressAction();
    return box.result();
  };
  const QString typed = h.config.filePath("Vol. 2");
  QFile existing(typed + ".ZBP");
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  h.boxes.files = {typed, typed};
  h.boxes.answers = {IMessageBoxes::No, IMessageBoxes::Yes};
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Export)->trigger();
  EXPECT_EQ(
      h.boxes.texts(),
      QStringList(2, QStringLiteral("Vol. 2.ZBP already exists.\nDo you want to replace it?")));
  ASSERT_EQ(h.boxes.fileRequests.size(), 2u) << "No offers the file dialog again";
  EXPECT_EQ(h.boxes.fileRequests[1].proposedName, typed + ".ZBP");
  EXPECT_FALSE(QFile::exists(typed));
  LibraryEntry read;
  readPatchFile(read, fsPath(typed + ".ZBP"));
  EXPECT_EQ(read, dlg.library().library().slot(4));

  h.boxes.files = {h.config.filePath("J.C. Clean")};
  dlg.menu().action(MainMenu::SaveAs)->trigger();
  EXPECT_TRUE(QFile::exists(h.config.filePath("J.C. Clean.ZBL")));
  EXPECT_EQ(dlg.controls().libraryName()->text(), "J.C. Clean");
}

TEST(LibraryFlowsPatchFiles, ImportBeyondTheKnobFillsTheSlotAndKeepsTheCurrentPatch) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');
  DeviceLink::instance().setEdited(false);
  LibraryEntry eight = namedEntry("Eight");
  eight.data[patch::kAmpType] = 7;
  const QString file = h.config.filePath("eight.zbp");
  writePatchFile(eight, fsPath(file));
  const PatchData before = DeviceLink::instance().mirror();

  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchImpDlg&>(d);
    box.SelectSlot(20);
    box.PressAction();
    return box.result();
  };
  h.boxes.files = {file};
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Import)->trigger();
  EXPECT_EQ(dlg.library().library().slot(20), eight);
  EXPECT_EQ(h.boxes.texts(), QStringList{"Invalid Model."});
  EXPECT_EQ(DeviceLink::instance().mirror(), before);
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), -1);
  EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
}

TEST(LibraryFlowsPatchFiles, ImportCancelledRefusedOrUnreadableChangesNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('2');
  DeviceLink::instance().setEdited(false);
  const QString other = h.config.filePath("other.ZBP"), broken = h.config.filePath("broken.ZBP");
  writePatchFile(namedEntry("Other", '4'), fsPath(other));
  QFile bad(broken);
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a patch");
  bad.close();
  const Library before = dlg.library().library();
  const PatchData current = DeviceLink::instance().mirror();
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchImpDlg&>(d);
    box.SelectSlot(20);
    box.PressAction();
    return box.result();
  };
  h.service->flush();
  h.sim->clearReceived();
  auto importFile = [&](std::deque<QString> files) {
    h.boxes.asked.clear();
    h.boxes.files = std::move(files);
    dlg.menu().action(MainMenu::Import)->trigger();
    h.service->flush();
    EXPECT_EQ(dlg.library().library(), before);
    EXPECT_EQ(DeviceLink::instance().mirror(), current);
    EXPECT_TRUE(h.sim->received().empty());
    EXPECT_FALSE(dlg.menu().isEnabled(MainMenu::Save));
    return h.boxes.texts();
  };

  EXPECT_EQ(importFile({}), QStringList{}) << "the file dialog cancelled";
  EXPECT_EQ(importFile({other}), QStringList{"Invalid Model."});
  EXPECT_EQ(importFile({broken}),
            QStringList{"Cannot use the selected Patch file. (Format error)"});
}

TEST(LibraryFlowsPatchFiles, ExportCancelledWritesNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  putSlot(dlg, 4, namedEntry("Four"));
  dlg.library().setCurrentSlot(4);
  const QStringList before = QDir(h.config.path()).entryList(QDir::Files);
  h.boxes.asked.clear();
  dlg.menu().action(MainMenu::Export)->trigger();  // the dialog cancelled
  h.boxes.onDialog = [](QDialog& d) {
    static_cast<CVKRPatchExpDlg&>(d).PressAction();
    return d.result();
  };
  dlg.menu().action(MainMenu::Export)->trigger();  // the file dialog cancelled
  EXPECT_EQ(h.boxes.dialogsRun.size(), 2u);
  EXPECT_EQ(h.boxes.fileRequests.size(), 1u);
  EXPECT_EQ(QDir(h.config.path()).entryList(QDir::Files), before);
  EXPECT_TRUE(h.boxes.asked.empty()) << "a cancel is no failure";
}

// --- Dropped files ---------------------------------------------------------------------------

// Drags files onto `target` and drops them there; the application routes the drag to the widget
// that takes it.
void drop(QWidget* target, const QStringList& paths, std::optional<QPoint> point = {}) {
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
  mime.setUrls(urls);
  const QPointF at = point.value_or(target->rect().center());
  QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &dropped);
  QCoreApplication::processEvents();
}

TEST(LibraryFlowsDrops, APatchOnTheCurrentSlotsRowIsStoredThereWithoutAQuestion) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  ASSERT_TRUE(DeviceLink::instance().edited());
  dlg.library().setCurrentSlot(4);
  const QString first = h.config.filePath("first.ZBP"), second = h.config.filePath("second.ZBP");
  writePatchFile(namedEntry("First"), fsPath(first));
  writePatchFile(namedEntry("Second"), fsPath(second));
  SaveDialogSeen seen;
  h.boxes.onDialog = storeInto(4, {}, &seen);
  h.boxes.asked.clear();

  CVKRListBox* list = dlg.controls().libraryList();
  drop(list, {first, second}, list->ItemRect(4).center());
  EXPECT_TRUE(h.boxes.asked.empty());
  EXPECT_EQ(seen.runs, 1);
  EXPECT_EQ(seen.preselected, 4);
  EXPECT_TRUE(seen.saveEnabled);
  EXPECT_EQ(rowText(dlg.library().library(), 4), "005 First");
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "First");
  EXPECT_FALSE(DeviceLink::instance().edited());
}

TEST(LibraryFlowsDrops, APatchOnTheNameEditIsStoredFirstOnSaveThenBecomesTheEditedPatch) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  const QString file = h.config.filePath("p.ZBP");
  writePatchFile(namedEntry("Dropped"), fsPath(file));
  h.boxes.answers = {IMessageBoxes::Yes};
  h.boxes.onDialog = storeInto(0, QStringLiteral("Kept"));

  QLineEdit* name = dlg.controls().nameEdit();
  drop(name, {file});
  EXPECT_EQ(name->text(), "Dropped") << "the file is opened, not pasted as text";
  const LibraryEntry& kept = dlg.library().library().slot(0);
  EXPECT_EQ(patchName(kept.data), "Kept");
  EXPECT_EQ(kept.modelCode, '1') << "the connected amplifier's model";
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "Dropped");
  EXPECT_TRUE(DeviceLink::instance().edited());
  EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), -1);
}

TEST(LibraryFlowsDrops, APatchOfAnotherModelOrAmpTypeDroppedOnTheListIsStoredButNotLoaded) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('4');  // five amplifier types
  dlg.show();
  LibraryEntry eight = namedEntry("Eight");
  eight.data[patch::kAmpType] = 7;
  const QString otherModel = h.config.filePath("model.ZBP"),
                otherType = h.config.filePath("type.ZBP");
  writePatchFile(namedEntry("Model Two", '2'), fsPath(otherModel));
  writePatchFile(eight, fsPath(otherType));
  const PatchData current = DeviceLink::instance().mirror();
  h.service->flush();
  h.sim->clearReceived();

  int slot = 30;
  for (const QString& file : {otherModel, otherType}) {
    SCOPED_TRACE(file.toStdString());
    h.boxes.asked.clear();
    h.boxes.onDialog = storeInto(slot);
    drop(dlg.controls().libraryList(), {file});
    h.service->flush();
    EXPECT_EQ(h.boxes.texts(), QStringList{"Invalid Model."});
    EXPECT_EQ(dlg.controls().libraryList()->GetCurSel(), -1);
    EXPECT_EQ(DeviceLink::instance().mirror(), current) << "the panel keeps its patch";
    EXPECT_TRUE(h.sim->received().empty()) << "nothing sent";
    ++slot;
  }
  EXPECT_EQ(rowText(dlg.library().library(), 30), "031 Model Two");
  EXPECT_EQ(rowText(dlg.library().library(), 31), "032 Eight");
}

TEST(LibraryFlowsDrops, APatchDroppedOnARowPreselectsItAndOnlyTheButtonStores) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  dlg.show();
  dlg.library().setCurrentSlot(4);
  const QString file = h.config.filePath("p.ZBP");
  writePatchFile(namedEntry("Dropped"), fsPath(file));
  const Library before = dlg.library().library();
  int preselected = -2;
  h.boxes.onDialog = [&](QDialog& d) {
    auto& box = static_cast<CVKRSaveToLibraryDlg&>(d);
    preselected = box.SelectedSlot();
    box.show();  // laid out as the user sees it
    QListWidget* rows = box.SlotList();
    const QPoint at = rows->visualItemRect(rows->item(7)).center();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(box.SelectedSlot(), 7);
    return box.result();
  };
  CVKRListBox* list = dlg.controls().libraryList();
  drop(list, {file}, list->ItemRect(2).center());
  EXPECT_EQ(preselected, 2);
  EXPECT_EQ(dlg.library().library(), before) << "a double-click stores nothing";
}

// --- Scrolling ------------------------------------------------------------------------------

TEST(LibraryFlowsList, TheScrollBarFollowsTheListsOwnTopRow) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  CVKRListBox* list = dlg.controls().libraryList();
  CVKRScrollBar* bar = dlg.controls().scrollBar();
  const int last = list->GetCount() - list->FullRows();
  for (int i = 0; i < 120; ++i)
    QCoreApplication::postEvent(&dlg, new WindowMessage(WM_LIST_SCROLL_DOWN, 0, 0));
  QCoreApplication::processEvents();
  EXPECT_EQ(list->GetTopIndex(), last);
  EXPECT_EQ(bar->GetValue(), last);
  QTest::mouseClick(dlg.controls().scrollUp(), Qt::LeftButton);
  EXPECT_EQ(list->GetTopIndex(), last - 1) << "one press back moves at once";
  EXPECT_EQ(bar->GetValue(), last - 1);
}

}  // namespace
}  // namespace orv
