// The pull-down: choices by popup, wheel and keys posted to the main window, the ends of the
// list, showing a selection without posting, and the face it draws.
#include <gtest/gtest.h>

#include <QAction>

#include "ControlsTestHost.h"
#include "controls/VKRMenu.h"
#include "controls/VKRPullDownMenu.h"
#include "patch/NameLists.h"

namespace orv::test {
namespace {

// The section-type sprite: four 100 x 24 cells; cell i is filled with red = 10 * (i + 1).
QImage PullDownSprite() {
  QImage sprite(100, 96, QImage::Format_ARGB32);
  for (int i = 0; i < 4; ++i)
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 100; ++x) sprite.setPixel(x, i * 24 + y, qRgba(10 * (i + 1), 0, 0, 255));
  return sprite;
}

class PullDownTest : public ::testing::Test {
 protected:
  CVKRPullDownMenu* MakePullDown(int kind) {
    auto* p = new CVKRPullDownMenu(&host);
    p->SetId(1034);
    p->SetItemSource(pullDownItems);
    p->SetListKind(kind);
    p->FillItems();
    p->SetSelection(0);
    p->Place(QRect(252, 263, 101, 24));
    p->SetCellSize(100, 24);
    p->SetCells({QPoint(0, 0), QPoint(0, 72), QPoint(0, 48), QPoint(0, 48), QPoint(0, 24), {}});
    p->Face().SetImage(PullDownSprite());
    return p;
  }
  std::vector<Posted> Posts() {
    host.Flush();
    return host.posted;
  }
  static int CellRed(CVKRPullDownMenu* p) { return qRed(p->grab().toImage().pixel(90, 2)); }

  ControlsTestHost host;
};

TEST_F(PullDownTest, NextAndPreviousStopAtTheEndsButStillPost) {
  CVKRPullDownMenu* effect = MakePullDown(1);  // four entries
  ASSERT_EQ(effect->GetCount(), 4);
  effect->SetSelection(2);
  effect->Next();
  effect->Next();
  EXPECT_EQ(effect->GetSelection(), 3);
  EXPECT_EQ(effect->GetCaption(), "Tremolo");
  effect->SetSelection(1);
  effect->Previous();
  effect->Previous();
  EXPECT_EQ(effect->GetSelection(), 0);
  EXPECT_EQ(Posts(), (std::vector<Posted>{{WM_PULLDOWN_CHANGED, 1, 3},
                                          {WM_PULLDOWN_CHANGED, 1, 3},
                                          {WM_PULLDOWN_CHANGED, 1, 0},
                                          {WM_PULLDOWN_CHANGED, 1, 0}}));
}

TEST_F(PullDownTest, WheelAndArrowKeysChooseNeighbours) {
  CVKRPullDownMenu* reverb = MakePullDown(3);
  Wheel(reverb, -120);  // towards the user: next
  Wheel(reverb, -120);
  Wheel(reverb, 120);
  QTest::keyClick(reverb, Qt::Key_Down);
  QTest::keyClick(reverb, Qt::Key_Up);
  QTest::keyClick(reverb, Qt::Key_Up);
  std::vector<qintptr> indexes;
  for (const Posted& p : Posts()) indexes.push_back(p.lParam);
  EXPECT_EQ(indexes, (std::vector<qintptr>{1, 2, 1, 2, 1, 0}));
}

TEST_F(PullDownTest, SingleEntryListPostsIndexZeroEachTime) {
  CVKRPullDownMenu* delay = MakePullDown(2);
  Wheel(delay, -120);
  QTest::keyClick(delay, Qt::Key_Up);
  QTest::keyClick(delay, Qt::Key_Down);
  EXPECT_EQ(Posts(), (std::vector<Posted>(3, {WM_PULLDOWN_CHANGED, 2, 0})));
}

TEST_F(PullDownTest, EmptyListChoosesNothing) {
  CVKRPullDownMenu* none = MakePullDown(8);
  EXPECT_EQ(none->GetCount(), 0);
  none->Next();
  none->Previous();
  none->OnCommand(CVKRPullDownMenu::kFirstCommand);
  EXPECT_TRUE(Posts().empty());
  EXPECT_EQ(none->GetSelection(), 0);
}

TEST_F(PullDownTest, SetSelectionShowsWithoutPostingAndIgnoresBadIndexes) {
  CVKRPullDownMenu* cabinet = MakePullDown(4);
  cabinet->SetSelection(5);
  EXPECT_EQ(cabinet->GetCaption(), "4x10");
  cabinet->SetSelection(6);
  cabinet->SetSelection(-1);
  EXPECT_EQ(cabinet->GetSelection(), 5);
  // A new list kind: the first entry of the new list.
  cabinet->SetListKind(6);
  cabinet->FillItems();
  cabinet->SetSelection(0);
  EXPECT_EQ(cabinet->GetCount(), 5);
  EXPECT_EQ(cabinet->GetCaption(), "Fuel 4x12");
  EXPECT_TRUE(Posts().empty());
}

TEST_F(PullDownTest, PopupChoicePostsItsIndex) {
  host.ShowActive();
  CVKRPullDownMenu* comp = MakePullDown(0);
  comp->show();
  Press(comp, QPoint(20, 10));
  CVKRMenu* menu = comp->ActiveMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(comp->hasFocus());
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[1]->text(), "Rack");
  EXPECT_GE(menu->width(), CVKRMenu::kMinimumWidth);
  const QPoint origin = comp->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(menu->geometry().right() + 1, origin.x() + 80) << "right edge 80 px in";
  EXPECT_EQ(menu->geometry().top(), origin.y() + 5);
  menu->actions()[1]->trigger();
  menu->hide();
  Release(comp, QPoint(20, 10));
  EXPECT_EQ(comp->GetSelection(), 1);
  EXPECT_EQ(comp->GetCaption(), "Rack");
  EXPECT_EQ(Posts(), (std::vector<Posted>{{WM_PULLDOWN_CHANGED, 0, 1}}));
  comp->OnCommand(CVKRPullDownMenu::kFirstCommand + 7);  // not an item: ignored
  comp->OnCommand(9999);
  EXPECT_EQ(Posts().size(), 1u);
}

TEST_F(PullDownTest, NamesAreCutToFortyCharacters) {
  CVKRPullDownMenu* p = MakePullDown(0);
  const std::string longName(50, 'x');
  p->SetItemSource([&](int) {
    std::vector<std::string_view> names(12, "short");
    names[0] = longName;
    return names;
  });
  p->FillItems();
  EXPECT_EQ(p->GetCount(), 10);
  EXPECT_EQ(p->GetItems()[0].size(), 40);
}

TEST_F(PullDownTest, FaceFollowsEnabledHoverAndPress) {
  CVKRPullDownMenu* p = MakePullDown(1);
  EXPECT_EQ(CellRed(p), 40);  // normal-on
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(p, &enter);
  EXPECT_EQ(CellRed(p), 20);  // hover-on (the hover-off cell is not needed)
  p->setEnabled(false);
  EXPECT_EQ(CellRed(p), 10);  // normal-off
}

}  // namespace
}  // namespace orv::test
