// The library list: fixed 19-pixel rows, the cut-off last row, scrolling limits, selection by
// pointer and keys, and the context menu.
#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>

#include "ControlsTestHost.h"
#include "controls/VKRListBox.h"

namespace orv::test {
namespace {

class ListBoxTest : public ::testing::Test {
 protected:
  ListBoxTest() {
    list = new CVKRListBox(&host);
    list->setGeometry(15, 134, 150, 440);  // 23 whole rows and a cut one
    list->RowImage().SetImage(Solid(206, 41, QColor(0, 0, 90)));
  }
  void Fill(int n) {
    for (int i = 0; i < n; ++i) list->AddString(QString("%1: Patch").arg(i + 1, 3, 10, QChar('0')));
  }
  // Rendered over a black window, so that undrawn parts stay black.
  QImage Shot() {
    QImage image(list->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    list->render(&image, QPoint(), QRegion(), {});
    return image;
  }
  static bool HasWhiteInk(const QImage& image, int top, int bottom) {
    for (int y = top; y < bottom && y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qRed(image.pixel(x, y)) > 128) return true;
    return false;
  }

  ControlsTestHost host;
  CVKRListBox* list;
};

TEST_F(ListBoxTest, RowsAreNineteenPixelsAndTheCutRowHasNoText) {
  Fill(100);
  EXPECT_EQ(list->ItemRect(0), QRect(0, 0, 150, 19));
  EXPECT_EQ(list->ItemRect(5), QRect(0, 95, 150, 19));
  EXPECT_EQ(list->FullRows(), 23);
  EXPECT_TRUE(list->RowShowsText(22));
  EXPECT_FALSE(list->RowShowsText(23));
  const QImage shot = Shot();
  EXPECT_TRUE(HasWhiteInk(shot, 22 * 19, 23 * 19));
  EXPECT_FALSE(HasWhiteInk(shot, 23 * 19, 440)) << "the cut-off row shows no text";
  EXPECT_EQ(qBlue(shot.pixel(3, 438)), 90) << "but its row image";
  list->setFont([] {
    QFont big;
    big.setPixelSize(30);
    return big;
  }());
  EXPECT_EQ(list->ItemRect(1), QRect(0, 19, 150, 19)) << "whatever the font";
}

TEST_F(ListBoxTest, EmptyListDrawsNothing) {
  const QImage shot = Shot();
  EXPECT_EQ(qBlue(shot.pixel(3, 3)), 0);
  Fill(2);
  EXPECT_EQ(qBlue(Shot().pixel(3, 3)), 90);
  EXPECT_EQ(qBlue(Shot().pixel(3, 60)), 0) << "below the last row nothing is drawn";
}

TEST_F(ListBoxTest, SelectedRowIsAmber) {
  Fill(3);
  list->SetCurSel(1);
  const QImage shot = Shot();
  bool amber = false, whiteInSelected = false;
  for (int y = 19; y < 38; ++y)
    for (int x = 0; x < 150; ++x) {
      const QRgb p = shot.pixel(x, y);
      if (qRed(p) > 200 && qBlue(p) < 60) amber = true;
      if (qRed(p) > 200 && qBlue(p) > 200) whiteInSelected = true;
    }
  EXPECT_TRUE(amber);
  EXPECT_FALSE(whiteInSelected);
}

TEST_F(ListBoxTest, TopIndexStopsWhenTheLastRowsShow) {
  Fill(100);
  QSignalSpy tops(list, &CVKRListBox::TopIndexChanged);
  EXPECT_TRUE(list->SetTopIndex(40));
  EXPECT_EQ(list->GetTopIndex(), 40);
  EXPECT_TRUE(list->SetTopIndex(99));
  EXPECT_EQ(list->GetTopIndex(), 77);
  EXPECT_FALSE(list->SetTopIndex(100));
  EXPECT_FALSE(list->SetTopIndex(-1));
  EXPECT_EQ(list->GetTopIndex(), 77);
  EXPECT_EQ(tops.count(), 2);
  Wheel(list, -120);
  EXPECT_EQ(list->GetTopIndex(), 77);
  Wheel(list, 360);
  EXPECT_EQ(list->GetTopIndex(), 74);
  list->SetTopIndex(0);
  Wheel(list, 120);
  EXPECT_EQ(list->GetTopIndex(), 0);
  Wheel(list, -120);
  EXPECT_EQ(list->GetTopIndex(), 1);
}

TEST_F(ListBoxTest, ItemFromPointTakesTheNearestRow) {
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, 5)), -1);
  Fill(5);
  list->setGeometry(15, 134, 150, 200);
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, 20)), 1);
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, 190)), 4);
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, -3)), 0);
  Fill(95);
  list->SetTopIndex(10);
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, 38)), 12);
  EXPECT_EQ(list->ItemFromPoint(QPoint(5, -30)), 10) << "above the list: the top row";
}

TEST_F(ListBoxTest, ClickSelectsAndReportsOnRelease) {
  Fill(100);
  list->SetTopIndex(10);
  QSignalSpy chosen(list, &CVKRListBox::SelectionChanged);
  Press(list, QPoint(20, 40));
  EXPECT_EQ(list->GetCurSel(), 12);
  EXPECT_EQ(chosen.count(), 0);
  Move(list, QPoint(20, 60));
  Release(list, QPoint(20, 60));
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen.takeFirst().at(0).toInt(), 13);
  // Dragging past the bottom scrolls one row per movement.
  Press(list, QPoint(20, 5));
  Move(list, QPoint(20, 500));
  Move(list, QPoint(20, 500));
  Release(list, QPoint(20, 500));
  EXPECT_EQ(list->GetTopIndex(), 12);
  EXPECT_EQ(list->GetCurSel(), 34);
  // And past the top, the row that scrolled in.
  Press(list, QPoint(20, 5));
  Move(list, QPoint(20, -30));
  Release(list, QPoint(20, -30));
  EXPECT_EQ(list->GetTopIndex(), 11);
  EXPECT_EQ(list->GetCurSel(), 11);
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndKeepItVisible) {
  Fill(100);
  QSignalSpy chosen(list, &CVKRListBox::SelectionChanged);
  QTest::keyClick(list, Qt::Key_Down);  // no selection yet: the top row
  EXPECT_EQ(list->GetCurSel(), 0);
  QTest::keyClick(list, Qt::Key_Up);  // already at the top: nothing
  QTest::keyClick(list, Qt::Key_PageDown);
  EXPECT_EQ(list->GetCurSel(), 22);
  EXPECT_EQ(list->GetTopIndex(), 0);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->GetTopIndex(), 1);
  QTest::keyClick(list, Qt::Key_End);
  EXPECT_EQ(list->GetCurSel(), 99);
  EXPECT_EQ(list->GetTopIndex(), 77);
  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(list->GetTopIndex(), 0);
  EXPECT_EQ(chosen.count(), 5);
}

TEST_F(ListBoxTest, RightReleaseSelectsSilentlyAndOpensTheMenu) {
  host.ShowActive();
  list->show();
  Fill(3);
  QMenu menu;
  menu.addAction("Clear");
  list->SetContextMenu(&menu);
  QSignalSpy chosen(list, &CVKRListBox::SelectionChanged);
  QTest::mousePress(list, Qt::RightButton, {}, QPoint(20, 300));
  QTest::mouseRelease(list, Qt::RightButton, {}, QPoint(20, 300));
  EXPECT_EQ(list->GetCurSel(), 2) << "the nearest row";
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
}

TEST_F(ListBoxTest, DeletingAndClearingKeepSelectionAndTopConsistent) {
  Fill(30);
  list->SetCurSel(25);
  list->SetTopIndex(7);
  EXPECT_TRUE(list->DeleteString(3));
  EXPECT_EQ(list->GetCurSel(), 24);
  EXPECT_EQ(list->GetTopIndex(), 6) << "the list does not scroll past its end";
  EXPECT_TRUE(list->DeleteString(24));
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_FALSE(list->DeleteString(50));
  list->ResetContent();
  EXPECT_EQ(list->GetCount(), 0);
  EXPECT_EQ(list->GetTopIndex(), 0);
  EXPECT_FALSE(list->SetCurSel(0));
}

}  // namespace
}  // namespace orv::test
