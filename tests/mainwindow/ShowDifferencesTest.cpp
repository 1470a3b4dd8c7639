#include <gtest/gtest.h>

#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "controls/VKRDial.h"
#include "controls/VKRListBox.h"
#include "mainwindow/DifferencesDlg.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/MainWindowHarness.h"
#include "mainwindow/PanelControls.h"
#include "patch/Library.h"

namespace orv {
namespace {

using test::MainWindowHarness;

// What the dialog showed: its sentence, then one "section|parameter|stored|edited" per row.
struct Shown {
  int runs = 0;
  std::vector<std::string> lines;
};

std::function<int(QDialog&)> readDifferences(Shown& shown) {
  return [&shown](QDialog& d) {
    auto* box = qobject_cast<DifferencesDlg*>(&d);
    if (!box) return int(QDialog::Rejected);
    ++shown.runs;
    shown.lines = {box->Summary()->text().toStdString()};
    if (QTableWidget* t = box->Table())
      for (int r = 0; r < t->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < t->columnCount(); ++c) cells << t->item(r, c)->text();
        shown.lines.push_back(cells.join(u'|').toStdString());
      }
    return int(QDialog::Rejected);
  };
}

TEST(ShowDifferences, ListsTheTurnedKnobAgainstTheLoadedSoundOrTheCurrentSlot) {
  MainWindowHarness h;
  CVKREditorDlg& dlg = h.openShown(/*connected=*/true);
  Shown shown;
  h.boxes.onDialog = readDifferences(shown);
  const auto show = [&] { QTest::keyClick(&dlg, Qt::Key_D, Qt::ControlModifier); };

  show();
  ASSERT_EQ(shown.runs, 1) << "Ctrl+D opens the dialog";
  using Lines = std::vector<std::string>;
  EXPECT_EQ(shown.lines, Lines{"The edited sound is the same as the sound as last loaded or "
                               "stored."});

  CVKRDial* gain = dlg.controls().dial(1111);
  dlg.OnControlChanged(1111, 50);
  dlg.setPatchEdited(false);  // as though loaded so
  gain->setFocus();
  QTest::keyClick(gain, Qt::Key_Up);
  show();
  EXPECT_EQ(shown.lines,
            (Lines{"The edited sound differs from the sound as last loaded or stored in 1 "
                   "setting:",
                   "Amp|Gain|5.0|5.1"}));

  LibraryEntry crunch;
  initPatch("Crunch", crunch.data);
  crunch.data[patch::kGain] = 80;
  dlg.library().library().slot(2) = crunch;
  dlg.libraryShown();
  h.boxes.answers = {IMessageBoxes::No};  // the edited sound is dropped
  CVKRListBox* list = dlg.controls().libraryList();
  QTest::mouseClick(list, Qt::LeftButton, {}, list->ItemRect(2).center());
  ASSERT_EQ(dlg.library().currentSlot(), 2);
  dlg.OnControlChanged(1111, 65);
  show();
  EXPECT_EQ(shown.lines, (Lines{"The edited sound differs from slot 003 \"Crunch\" in 1 "
                                "setting:",
                                "Amp|Gain|8.0|6.5"}));
  EXPECT_EQ(DeviceLink::instance().mirror()[patch::kGain], 65) << "showing changes nothing";
  EXPECT_TRUE(dlg.patchEdited());
}

}  // namespace
}  // namespace orv
