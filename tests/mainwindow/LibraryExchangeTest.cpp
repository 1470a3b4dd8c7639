#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QUrl>

#include "controls/VKRListBox.h"
#include "device/DeviceLink.h"
#include "device/SysexCodec.h"
#include "device/SyxFile.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "mainwindow/VKRPatchExpDlg.h"
#include "patch/Library.h"
#include "patch/LibraryFile.h"
#include "support/TempDir.h"

namespace orv {
namespace {

using test::MainWindowHarness;

std::filesystem::path fsPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

void nameSlots(CVKREditorDlg& dlg, int first, int count, const char* prefix) {
  for (int i = first; i < first + count; ++i)
    initPatch(prefix + std::to_string(i), dlg.library().library().slot(std::size_t(i)).data);
  dlg.libraryShown();
}

TEST(LibraryExchange, SeveralSlotsExportAsOneSyxThatImportsIntoConsecutiveSlots) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected('2');
  nameSlots(dlg, 10, 3, "Out ");
  const Library before = dlg.library().library();
  h.boxes.onDialog = [](QDialog& d) {
    auto& box = static_cast<CVKRPatchExpDlg&>(d);
    for (int row : {12, 10, 11}) box.SlotList()->item(row)->setSelected(true);
    box.PressAction();
    return box.result();
  };
  h.boxes.answers = {IMessageBoxes::Yes};  // one .syx
  const QString syx = h.config.filePath("three");
  h.boxes.files = {syx};
  dlg.menu().action(MainMenu::Export)->trigger();
  const SyxContents written = readSyxFile(fsPath(syx + ".syx"));
  ASSERT_EQ(written.patches.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(written.patches[i], before.slot(10 + i).data);

  // Dropped on the list's row 50: slots 51..53 (no question, they are "Empty").
  h.sim->clearReceived();
  const PatchData sound = DeviceLink::instance().mirror();
  h.boxes.asked.clear();
  dlg.DropFiles({QUrl::fromLocalFile(syx + ".syx")}, 50);
  EXPECT_TRUE(h.boxes.asked.empty());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dlg.library().library().slot(50 + i).data, before.slot(10 + i).data);
    EXPECT_EQ(dlg.library().library().slot(50 + i).modelCode, '2') << "the connected model";
  }
  EXPECT_EQ(patchName(dlg.library().library().slot(53).data), "Empty");
  EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
  h.service->flush();
  EXPECT_EQ(DeviceLink::instance().mirror(), sound);
  EXPECT_TRUE(h.sim->received().empty());

  // Over slots that hold patches the question comes once; No changes nothing.
  const Library filled = dlg.library().library();
  h.boxes.answers = {IMessageBoxes::No};
  dlg.DropFiles({QUrl::fromLocalFile(syx + ".syx")}, 9);
  EXPECT_EQ(h.boxes.asked.size(), 1u);
  EXPECT_EQ(dlg.library().library(), filled);
}

TEST(LibraryExchange, ForeignMessagesAreSkippedABrokenChecksumChangesNothing) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.open();
  std::vector<PatchData> patches(2);
  initPatch("First", patches[0]);
  initPatch("Second", patches[1]);
  std::vector<uint8_t> bytes = encodeSyx(patches);
  const std::vector<uint8_t> clock = {0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7};
  bytes.insert(bytes.begin() + 276, clock.begin(), clock.end());
  const QString good = h.config.filePath("good.syx"), bad = h.config.filePath("bad.syx");
  test::writeBytes(fsPath(good), bytes);
  bytes[276 + clock.size() + 274] ^= 0x01;
  test::writeBytes(fsPath(bad), bytes);

  dlg.DropFiles({QUrl::fromLocalFile(good)}, 0);
  EXPECT_EQ(patchName(dlg.library().library().slot(1).data), "Second");
  EXPECT_EQ(dlg.library().library().slot(1).modelCode, 0xFF) << "no amplifier known";

  const Library before = dlg.library().library();
  h.boxes.asked.clear();
  dlg.DropFiles({QUrl::fromLocalFile(bad)}, 40);
  EXPECT_EQ(h.boxes.texts(), QStringList{"Cannot use the selected Patch file. (Format error)"});
  EXPECT_EQ(dlg.library().library(), before);
}

}  // namespace
}  // namespace orv
