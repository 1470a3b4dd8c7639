// Image buttons: toggling by click, Space and double-click, the face cell each state draws, and
// the held-button repetition timed by a test clock.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ControlsTestHost.h"
#include "controls/CustomButton.h"
#include "controls/Rapidbutton.h"

namespace orv::test {
namespace {

// The section switch sprite: six 27 x 46 cells; cell i is filled with red = 10 * (i + 1).
QImage SwitchSprite() {
  QImage sprite(27, 276, QImage::Format_ARGB32);
  for (int i = 0; i < 6; ++i)
    for (int y = 0; y < 46; ++y)
      for (int x = 0; x < 27; ++x) sprite.setPixel(x, i * 46 + y, qRgba(10 * (i + 1), 0, 0, 255));
  return sprite;
}

CCustomButton::Cells SwitchCells() {
  return {QPoint(0, 0),   QPoint(0, 230), QPoint(0, 138),
          QPoint(0, 184), QPoint(0, 92),  QPoint(0, 46)};
}

class ButtonTest : public ::testing::Test {
 protected:
  CCustomButton* MakeSwitch() {
    auto* b = new CCustomButton(&host);
    b->SetId(1019);
    b->Place(QRect(217, 152, 25, 45));
    b->SetCellSize(27, 46);
    b->SetCells(SwitchCells());
    b->Face().SetImage(SwitchSprite());
    b->Background().SetImage(host.background);
    return b;
  }
  static int DrawnCellRed(CCustomButton* b) { return qRed(b->grab().toImage().pixel(5, 5)); }

  ControlsTestHost host;
};

TEST_F(ButtonTest, ToggleFlipsOnlyWhenReleasedInside) {
  CCustomButton* b = MakeSwitch();
  QSignalSpy clicks(b, &QAbstractButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(clicks.count(), 1);
  Press(b, QPoint(10, 10));
  Move(b, QPoint(60, 10));
  Release(b, QPoint(60, 10));  // released outside: keeps its state, no click
  EXPECT_EQ(b->GetState(), 1);
  EXPECT_EQ(clicks.count(), 1);
  Press(b, QPoint(10, 10));
  Move(b, QPoint(60, 10));
  Move(b, QPoint(12, 12));
  Release(b, QPoint(12, 12));  // back inside before the release: flips
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(clicks.count(), 2);
  Release(b, QPoint(12, 12));  // a release without a press on the button
  EXPECT_EQ(b->GetState(), 0);
}

TEST_F(ButtonTest, StateHasFlippedWhenTheClickArrives) {
  CCustomButton* b = MakeSwitch();
  int seen = -1;
  QObject::connect(b, &QAbstractButton::clicked, [&] { seen = b->GetState(); });
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(seen, 1);
}

TEST_F(ButtonTest, DoubleClickFlipsTwice) {
  CCustomButton* b = MakeSwitch();
  QSignalSpy clicks(b, &QAbstractButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  Release(b, QPoint(10, 10));
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonTest, SpaceFlipsOncePerPress) {
  CCustomButton* b = MakeSwitch();
  QTest::keyPress(b, Qt::Key_Space);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
  QApplication::sendEvent(b, &repeat);
  QTest::keyRelease(b, Qt::Key_Space);
  EXPECT_EQ(b->GetState(), 1);
}

TEST_F(ButtonTest, PushButtonKeepsItsState) {
  CCustomButton* b = MakeSwitch();
  b->SetToggleMode(0);
  QSignalSpy clicks(b, &QAbstractButton::clicked);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::keyClick(b, Qt::Key_Space);
  EXPECT_EQ(b->GetState(), 0);
  EXPECT_EQ(clicks.count(), 2);
}

TEST_F(ButtonTest, FaceCellFollowsPressHoverAndState) {
  CCustomButton* b = MakeSwitch();
  EXPECT_EQ(DrawnCellRed(b), 10);  // normal-off
  b->SetState(1);
  EXPECT_EQ(DrawnCellRed(b), 60);  // normal-on
  QEvent leave(QEvent::Leave);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(b, &enter);
  EXPECT_TRUE(b->IsHovered());
  EXPECT_EQ(DrawnCellRed(b), 30);  // hover-on
  b->SetState(0);
  EXPECT_EQ(DrawnCellRed(b), 20);  // hover-off
  Press(b, QPoint(5, 5));
  EXPECT_EQ(DrawnCellRed(b), 40);  // pressed-off
  b->SetState(1);
  EXPECT_EQ(DrawnCellRed(b), 50);  // pressed-on
  Release(b, QPoint(5, 5));
  QApplication::sendEvent(b, &leave);
  EXPECT_FALSE(b->IsHovered());
  EXPECT_EQ(DrawnCellRed(b), 10);  // released inside: flipped back to off, not hovered
}

TEST_F(ButtonTest, NoHoverFaceUnlessBothHoverCellsAreSet) {
  CCustomButton* b = MakeSwitch();
  CCustomButton::Cells cells = SwitchCells();
  cells.hoverOff = QPoint(0, 0);
  b->SetCells(cells);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(b, &enter);
  b->SetState(1);
  EXPECT_EQ(DrawnCellRed(b), 60) << "normal-on, though the hover-on cell is set";
}

TEST_F(ButtonTest, DrawsTheBackgroundUnderACellOutsideTheFace) {
  // An amplifier-type label: one 14-pixel row; its off cells start below the image.
  auto* label = new CCustomButton(&host);
  label->Place(QRect(196, 97, 59, 14));
  label->SetCells({QPoint(0, 14), QPoint(0, 0), QPoint(0, 14), QPoint(0, 14), {}, {}});
  label->Face().SetImage(Solid(59, 14, QColor(250, 250, 250), QImage::Format_ARGB32));
  QImage skin = Solid(800, 600, QColor(10, 20, 30));
  skin.setPixelColor(196, 97, QColor(1, 2, 3));
  label->Background().SetImage(skin);
  QImage shot = label->grab().toImage();
  EXPECT_EQ(shot.pixelColor(0, 0), QColor(1, 2, 3)) << "background from the placement";
  EXPECT_EQ(shot.pixelColor(10, 5), QColor(10, 20, 30));
  label->SetState(1);
  shot = label->grab().toImage();
  EXPECT_EQ(shot.pixelColor(10, 5), QColor(250, 250, 250));
}

TEST_F(ButtonTest, OverlayIsDrawnOverTheFace) {
  CCustomButton* b = MakeSwitch();
  b->Overlay().SetImage(Solid(8, 8, QColor(0, 255, 0)));
  QImage shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, 2).green(), 0) << "no overlay size, no overlay";
  b->SetOverlaySize(8, 8);
  shot = b->grab().toImage();
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(0, 255, 0));
  EXPECT_EQ(shot.pixelColor(9, 9).red(), 10);
}

class RapidbuttonTest : public ::testing::Test {
 protected:
  RapidbuttonTest() {
    arrow = new CRapidbutton(&host);
    arrow->Place(QRect(168, 553, 12, 11));
    arrow->SetTarget(&host);
    arrow->SetMessage(WM_LIST_SCROLL_DOWN);
    arrow->SetClock([this] { return now; });
  }
  // Advances the test clock by `ms` in timer ticks and returns the messages posted meanwhile.
  int Hold(int ms) {
    const std::size_t before = host.posted.size();
    for (int t = 0; t < ms; t += CRapidbutton::kRepeatIntervalMs) {
      now += CRapidbutton::kRepeatIntervalMs;
      arrow->OnRepeatTimer();
    }
    host.Flush();
    return static_cast<int>(host.posted.size() - before);
  }

  ControlsTestHost host;
  CRapidbutton* arrow;
  qint64 now = 100000;
};

TEST_F(RapidbuttonTest, NothingBeforeHalfASecondThenEveryFiftyMilliseconds) {
  QSignalSpy clicks(arrow, &QAbstractButton::clicked);
  Press(arrow, QPoint(5, 5));
  ASSERT_TRUE(arrow->IsRepeating());
  EXPECT_EQ(arrow->RepeatInterval(), 50);
  EXPECT_EQ(Hold(500), 0) << "not at 500 ms exactly";
  EXPECT_EQ(Hold(500), 10);
  Release(arrow, QPoint(5, 5));
  EXPECT_FALSE(arrow->IsRepeating());
  EXPECT_EQ(clicks.count(), 1) << "the release over the arrow acts once more";
  EXPECT_EQ(host.posted.front(), (Posted{WM_LIST_SCROLL_DOWN, 0, 0}));
}

TEST_F(RapidbuttonTest, ShortHoldActsOnlyAtTheRelease) {
  QSignalSpy clicks(arrow, &QAbstractButton::clicked);
  Press(arrow, QPoint(5, 5));
  EXPECT_EQ(Hold(400), 0);
  Release(arrow, QPoint(5, 5));
  EXPECT_EQ(clicks.count(), 1);
}

TEST_F(RapidbuttonTest, PointerOffTheButtonPausesWithoutANewDelay) {
  QSignalSpy clicks(arrow, &QAbstractButton::clicked);
  Press(arrow, QPoint(5, 5));
  EXPECT_EQ(Hold(600), 2);
  Move(arrow, QPoint(40, 5));
  EXPECT_EQ(Hold(300), 0);
  EXPECT_TRUE(arrow->IsRepeating()) << "the timer keeps running while paused";
  Move(arrow, QPoint(6, 6));
  EXPECT_EQ(Hold(100), 2) << "resumes at once";
  Move(arrow, QPoint(40, 5));
  Release(arrow, QPoint(40, 5));
  EXPECT_EQ(clicks.count(), 0) << "released off the arrow: no click";
  EXPECT_FALSE(arrow->IsRepeating());
}

TEST_F(RapidbuttonTest, OwnerStartAndStopAreIdempotent) {
  arrow->StartRepeat();
  EXPECT_EQ(Hold(300), 0);
  arrow->StartRepeat();  // a second start keeps the first press time
  EXPECT_EQ(Hold(300), 2);
  arrow->StopRepeat();
  arrow->StopRepeat();
  EXPECT_FALSE(arrow->IsRepeating());
  arrow->SetTarget(nullptr);
  arrow->StartRepeat();
  EXPECT_EQ(Hold(1000), 0) << "no target, nothing posted";
}

}  // namespace
}  // namespace orv::test
