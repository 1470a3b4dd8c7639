#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QTest>

#include "controls/VKRListBox.h"
#include "device/DeviceLink.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "patch/Library.h"

namespace orv {
namespace {

using test::MainWindowHarness;

// A library whose slots all differ, shown in the window.
Library fillLibrary(CVKREditorDlg& dlg) {
  Library& lib = dlg.library().library();
  for (std::size_t i = 0; i < lib.size(); ++i) {
    initPatch("Sound " + std::to_string(i), lib.slot(i).data);
    lib.slot(i).data[patch::kGain] = static_cast<uint8_t>(i);
  }
  dlg.libraryShown();
  return lib;
}

// Answers an input dialog with `text`.
std::function<int(QDialog&)> typeInto(const QString& text) {
  return [text](QDialog& d) {
    auto* box = qobject_cast<QInputDialog*>(&d);
    if (!box) return int(QDialog::Rejected);
    box->setTextValue(text);
    return int(QDialog::Accepted);
  };
}

// Expects `now` to equal `before` with the slots of `changed` replaced as given.
void expectOnly(const Library& now, Library before, const std::map<int, LibraryEntry>& changed) {
  for (const auto& [slot, entry] : changed) before.slot(std::size_t(slot)) = entry;
  for (std::size_t i = 0; i < now.size(); ++i)
    EXPECT_EQ(now.slot(i), before.slot(i)) << "slot " << i;
}

struct SlotFixture {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openConnected();
  CVKRListBox& list = *dlg.controls().libraryList();
  Library lib = fillLibrary(dlg);
  PatchData sound;

  SlotFixture() {
    dlg.show();  // keys reach only a shown, active window
    QApplication::setActiveWindow(&dlg);
  }

  // Slot `slot` is the current sound; nothing was sent since.
  void load(int slot) {
    DeviceLink::instance().setEdited(false);  // no save question before the load
    list.setFocus();
    QTest::mouseClick(&list, Qt::LeftButton, {}, list.ItemRect(slot).center());
    h.service->flush();
    sound = DeviceLink::instance().mirror();
    h.sim->clearReceived();
    ASSERT_EQ(patchName(sound), "Sound " + std::to_string(slot));
  }
  // A mouse event on row `row` of the list, as the window delivers it.
  void mouse(QEvent::Type type, int row, Qt::MouseButton button) {
    const QPointF at = list.ItemRect(row).center();
    QMouseEvent e(type, at, list.mapToGlobal(at), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(&list, &e);
  }
  // The current sound, the amplifier and the current slot's patch are as they were.
  void expectSoundKept(const char* currentName) {
    h.service->flush();
    EXPECT_EQ(DeviceLink::instance().mirror(), sound);
    EXPECT_TRUE(h.sim->received().empty()) << "nothing sent to the amplifier";
    const int current = dlg.library().currentSlot();
    ASSERT_GE(current, 0);
    EXPECT_EQ(patchName(dlg.library().library().slot(std::size_t(current)).data), currentName);
    EXPECT_TRUE(dlg.library().saveEnabled());
    EXPECT_TRUE(dlg.menu().isEnabled(MainMenu::Save));
  }
};

TEST(SlotCommands, MoveRenameCopyAndDragChangeOnlyTheirSlots) {
  SlotFixture f;
  f.load(10);
  ASSERT_EQ(f.dlg.library().currentSlot(), 10);
  const Library& now = f.dlg.library().library();

  QTest::keyClick(&f.list, Qt::Key_Down, Qt::AltModifier);  // slot 10 moves to 11
  expectOnly(now, f.lib, {{10, f.lib.slot(11)}, {11, f.lib.slot(10)}});
  EXPECT_EQ(f.dlg.library().currentSlot(), 11);
  EXPECT_EQ(f.list.GetCurSel(), 11);
  f.expectSoundKept("Sound 10");

  Library before = now;
  f.h.boxes.onDialog = typeInto(QStringLiteral("Renamed"));
  QTest::keyClick(&f.list, Qt::Key_F2);
  LibraryEntry renamed = before.slot(11);
  initPatch("Renamed", renamed.data);
  renamed.data[patch::kGain] = 10;
  expectOnly(now, before, {{11, renamed}});
  f.expectSoundKept("Renamed");

  // Copy by key, paste through the context menu as an assistive tool runs it.
  before = now;
  QTest::keyClick(&f.list, Qt::Key_C, Qt::ControlModifier);
  ASSERT_TRUE(f.list.RunContextAction(50, QStringLiteral("Paste Slot")));
  expectOnly(now, before, {{50, before.slot(11)}});
  EXPECT_EQ(f.dlg.library().currentSlot(), 11);
  f.expectSoundKept("Renamed");

  // Drag the selected row 50 up to row 42 (both in view): rows 42..49 shift down by one.
  before = now;
  ASSERT_LE(f.list.GetTopIndex(), 42);
  f.mouse(QEvent::MouseButtonPress, 50, Qt::LeftButton);
  f.mouse(QEvent::MouseMove, 46, Qt::NoButton);
  f.mouse(QEvent::MouseMove, 42, Qt::NoButton);
  f.mouse(QEvent::MouseButtonRelease, 42, Qt::LeftButton);
  std::map<int, LibraryEntry> shifted{{42, before.slot(50)}};
  for (int i = 43; i <= 50; ++i) shifted[i] = before.slot(std::size_t(i - 1));
  expectOnly(now, before, shifted);
  EXPECT_EQ(f.dlg.library().currentSlot(), 11) << "above the moved rows";
  f.expectSoundKept("Renamed");
}

TEST(SlotCommands, FindSelectsTheNextMatchWithoutLoadingEnterLoadsIt) {
  SlotFixture f;
  f.load(3);
  f.h.boxes.onDialog = typeInto(QStringLiteral("SOUND 7"));
  f.dlg.menu().action(MainMenu::Find)->trigger();
  EXPECT_EQ(f.list.GetCurSel(), 7);
  f.dlg.menu().action(MainMenu::Find)->trigger();
  EXPECT_EQ(f.list.GetCurSel(), 70) << "the next match after the selected row";
  EXPECT_TRUE(f.list.hasFocus());
  EXPECT_LE(f.list.GetTopIndex(), 70);
  EXPECT_GT(f.list.GetTopIndex() + f.list.FullRows(), 70);
  EXPECT_EQ(f.dlg.library().currentSlot(), 3);
  f.h.service->flush();
  EXPECT_EQ(DeviceLink::instance().mirror(), f.sound) << "found, not loaded";

  QTest::keyClick(&f.list, Qt::Key_Return);
  f.h.service->flush();
  EXPECT_EQ(f.dlg.library().currentSlot(), 70);
  EXPECT_EQ(patchName(DeviceLink::instance().mirror()), "Sound 70");
}

}  // namespace
}  // namespace orv
