// The knob: stepping rules, the circular mapping with its dead zone and end-jump guard, the
// gestures that drive them and the frame it draws.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <cmath>
#include <memory>

#include "ControlsTestHost.h"
#include "controls/VKRDial.h"

namespace orv::test {
namespace {

class DialTest : public ::testing::Test {
 protected:
  CVKRDial* MakeDial(int min, int max, QRect rect = QRect(100, 100, 45, 45)) {
    auto* dial = new CVKRDial(&host);
    dial->SetRange(min, max);
    dial->SetId(1141);
    dial->SetListener(&host);
    dial->Place(rect);
    return dial;
  }
  // Steps `n` times from `from` and returns the values passed through.
  static std::vector<int> Walk(CVKRDial* dial, int from, bool down, bool fast, int n) {
    dial->SetValue(from);
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
      dial->Step(down, fast);
      out.push_back(dial->GetValue());
    }
    return out;
  }
  // Pointer at `degrees` clockwise from straight down, `radius` from the centre.
  static QPoint AtAngle(const CVKRDial* dial, double degrees, double radius = 15) {
    const double a = degrees * M_PI / 180;
    return QPoint(dial->width() / 2 - static_cast<int>(std::lround(radius * std::sin(a))),
                  dial->height() / 2 + static_cast<int>(std::lround(radius * std::cos(a))));
  }

  ControlsTestHost host;
};

TEST_F(DialTest, SetValueClampsIntoTheRange) {
  CVKRDial* dial = MakeDial(3, 200);
  dial->SetValue(-5);
  EXPECT_EQ(dial->GetValue(), 3);
  dial->SetValue(201);
  EXPECT_EQ(dial->GetValue(), 200);
  dial->SetValue(150);
  EXPECT_EQ(dial->GetValue(), 150);
  dial->SetRange(7, 7);
  dial->SetValue(0);
  EXPECT_EQ(dial->GetValue(), 7);
  dial->SetValue(100);
  EXPECT_EQ(dial->GetValue(), 7);
  EXPECT_TRUE(host.calls.empty()) << "SetValue never notifies";
}

TEST_F(DialTest, LinearStepSizesFollowTheRange) {
  CVKRDial* d100 = MakeDial(0, 100);
  EXPECT_EQ(Walk(d100, 50, false, true, 2), (std::vector<int>{52, 54}));  // fast: r / 50
  EXPECT_EQ(Walk(d100, 50, true, false, 2), (std::vector<int>{49, 48}));  // slow: 1
  CVKRDial* d40 = MakeDial(0, 40);
  EXPECT_EQ(Walk(d40, 10, false, true, 2), (std::vector<int>{11, 12})) << "r < 50: always 1";
  CVKRDial* d75 = MakeDial(0, 75);
  EXPECT_EQ(Walk(d75, 10, false, true, 1), (std::vector<int>{12})) << "1.5 rounds half up";
  CVKRDial* big = MakeDial(1, 9999);
  EXPECT_EQ(Walk(big, 1000, false, true, 2), (std::vector<int>{1200, 1400}));
  EXPECT_EQ(Walk(big, 1000, true, false, 2), (std::vector<int>{900, 800}));
  EXPECT_EQ(Walk(big, 150, true, true, 1), (std::vector<int>{1})) << "clamped at the minimum";
  EXPECT_EQ(Walk(big, 9950, false, false, 1), (std::vector<int>{9999}));
}

TEST_F(DialTest, FineAndSteppedStepsAreOne) {
  CVKRDial* big = MakeDial(1, 9999);
  big->SetFine(true);
  EXPECT_EQ(Walk(big, 1000, false, true, 2), (std::vector<int>{1001, 1002}));
  big->SetFine(false);
  big->SetStepped(true);
  EXPECT_EQ(Walk(big, 1000, true, true, 2), (std::vector<int>{999, 998}));
  CVKRDial* log = MakeDial(21, 8000);
  log->SetLogScale(true);
  log->SetFine(true);
  EXPECT_EQ(Walk(log, 100, false, false, 1), (std::vector<int>{101}));
}

TEST_F(DialTest, HundredRuleStepsAroundOneHundred) {
  CVKRDial* time = MakeDial(3, 200);
  time->SetHundredRule(true);
  EXPECT_EQ(Walk(time, 97, false, false, 4), (std::vector<int>{98, 99, 100, 110}));
  EXPECT_EQ(Walk(time, 120, true, false, 3), (std::vector<int>{110, 100, 99}));
  EXPECT_EQ(Walk(time, 105, true, false, 1), (std::vector<int>{99}));
  EXPECT_EQ(Walk(time, 195, false, false, 1), (std::vector<int>{200}));
  EXPECT_EQ(Walk(time, 4, true, false, 2), (std::vector<int>{3, 3}));
  // Drags keep the fast step of r / 50; Shift keeps 1.
  EXPECT_EQ(Walk(time, 100, false, true, 1), (std::vector<int>{104}));
  time->SetFine(true);
  EXPECT_EQ(Walk(time, 100, false, false, 1), (std::vector<int>{101}));
}

TEST_F(DialTest, LogarithmicStepsMoveThreeHundredthsOfTheTravel) {
  CVKRDial* cut = MakeDial(21, 8000);
  cut->SetLogScale(true);
  const ValueScale scale(21, 8000, true);
  for (int v : {21, 100, 1000, 5000}) {
    cut->SetValue(v);
    cut->Step(false, false);
    const float moved = scale.ToFraction(cut->GetValue()) - scale.ToFraction(v);
    EXPECT_NEAR(moved, 0.03f, 0.004f) << "from " << v;
    EXPECT_GT(cut->GetValue(), v);
  }
  cut->SetValue(8000);
  cut->Step(false, true);
  EXPECT_EQ(cut->GetValue(), 8000);
  cut->SetValue(22);
  cut->Step(true, false);
  EXPECT_EQ(cut->GetValue(), 21);
}

TEST_F(DialTest, LogarithmicScaleMapsEndsAndMiddle) {
  const ValueScale scale(1000, 16001, true);
  EXPECT_FLOAT_EQ(scale.ToFraction(1000), 0.0f);
  EXPECT_FLOAT_EQ(scale.ToFraction(16001), 1.0f);
  EXPECT_NEAR(scale.FromFraction(0.5f), 4000, 1);  // geometric middle
  EXPECT_EQ(scale.FromFraction(1.0f), 16001);
  // A range that cannot be logarithmic falls back to linear instead of producing NaN.
  const ValueScale zero(0, 100, true);
  EXPECT_FALSE(zero.IsLogarithmic());
  EXPECT_FLOAT_EQ(zero.ToFraction(50), 0.5f);
  EXPECT_FLOAT_EQ(ValueScale(5, 5, false).ToFraction(5), 0.0f);
}

TEST_F(DialTest, CircularMappingWithDeadZone) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->ValueFromAngle(dial->width() / 2, 2);  // straight up
  EXPECT_EQ(dial->GetValue(), 50);
  dial->ValueFromAngle(dial->width() / 2 - 2, dial->height() - 2);  // bottom, left of centre
  EXPECT_EQ(dial->GetValue(), 0);
  dial->ValueFromAngle(dial->width() / 2 + 2, dial->height() - 2);  // bottom, right of centre
  EXPECT_EQ(dial->GetValue(), 100);
  const QPoint nine = AtAngle(dial, 90);  // 9 o'clock: a fifth of the travel
  dial->ValueFromAngle(nine.x(), nine.y());
  EXPECT_EQ(dial->GetValue(), 20);
  CVKRDial* odd = MakeDial(0, 7);
  odd->ValueFromAngle(odd->width() / 2, 2);
  EXPECT_EQ(odd->GetValue(), 4) << "a half goes up";
}

TEST_F(DialTest, ADoubleClickIsOnePress) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->SetKnobMode(CVKRDial::kCircular);
  DoubleClick(dial, AtAngle(dial, 90));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1141, 20}}));
}

TEST_F(DialTest, ShortTravelPinsTheMaximumBeyondItsEnd) {
  CVKRDial* type = MakeDial(0, 4);
  type->SetEndAngle(150);  // five positions over 120 degrees
  const QPoint left = AtAngle(type, 90);
  type->ValueFromAngle(left.x(), left.y());
  EXPECT_EQ(type->GetValue(), 2);
  type->ValueFromAngle(type->width() / 2, 2);  // straight up: past the end
  EXPECT_EQ(type->GetValue(), 4);
  const QPoint right = AtAngle(type, 270);
  type->ValueFromAngle(right.x(), right.y());
  EXPECT_EQ(type->GetValue(), 4);
}

TEST_F(DialTest, CircularDragDoesNotJumpAcrossTheDeadZone) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->SetKnobMode(CVKRDial::kCircular);
  const QPoint nearMax = AtAngle(dial, 340);
  Press(dial, nearMax);  // the press itself points the knob
  EXPECT_EQ(dial->GetValue(), 100);
  Move(dial, AtAngle(dial, 100));  // left half: ignored while at the maximum
  EXPECT_EQ(dial->GetValue(), 100);
  Move(dial, AtAngle(dial, 60));
  EXPECT_EQ(dial->GetValue(), 100);
  Move(dial, AtAngle(dial, 270));  // back in the right half: follows again
  EXPECT_EQ(dial->GetValue(), 80);
  Move(dial, AtAngle(dial, 10));  // dead zone left of the bottom: the minimum
  EXPECT_EQ(dial->GetValue(), 0);
  Move(dial, AtAngle(dial, 300));  // at the minimum the right half is ignored
  EXPECT_EQ(dial->GetValue(), 0);
  Release(dial, AtAngle(dial, 300));
  EXPECT_EQ(
      host.calls,
      (std::vector<Call>{{1141, 100}, {1141, 100}, {1141, 100}, {1141, 80}, {1141, 0}, {1141, 0}}))
      << "ignored movements still notify with the unchanged value";
  // A fresh press is not guarded: it jumps straight to the pointer.
  Press(dial, AtAngle(dial, 300));
  EXPECT_EQ(dial->GetValue(), 90);
  Release(dial, AtAngle(dial, 300));
}

TEST_F(DialTest, LinearDragStepsOncePerMovement) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->SetValue(50);
  Press(dial, QPoint(20, 20));
  EXPECT_TRUE(host.calls.empty()) << "a Linear press does not change the value";
  Move(dial, QPoint(20, 10));  // up
  Move(dial, QPoint(20, 9));   // up by one pixel: still one whole fast step
  Move(dial, QPoint(30, 9));   // sideways counts as down
  Move(dial, QPoint(30, 40));  // down
  Release(dial, QPoint(30, 40));
  Move(dial, QPoint(30, 0));  // after the release nothing moves the knob
  EXPECT_EQ(host.calls, (std::vector<Call>{{1141, 52}, {1141, 54}, {1141, 52}, {1141, 50}}));
}

TEST_F(DialTest, DragPastTheMaximumKeepsReportingIt) {
  CVKRDial* dial = MakeDial(0, 40);
  dial->SetValue(39);
  Press(dial, QPoint(20, 40));
  for (int y = 39; y > 35; --y) Move(dial, QPoint(20, y));
  Release(dial, QPoint(20, 36));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1141, 40}, {1141, 40}, {1141, 40}, {1141, 40}}));
}

TEST_F(DialTest, WheelAndArrowKeysUseSlowSteps) {
  CVKRDial* dial = MakeDial(1, 9999);
  dial->SetValue(5000);
  Wheel(dial, 120);
  Wheel(dial, -120);
  Wheel(dial, -120);
  Wheel(dial, 0);   // no vertical movement: nothing
  Wheel(dial, 60);  // half a notch: nothing yet
  Wheel(dial, 60);  // the other half: one step
  EXPECT_EQ(host.calls,
            (std::vector<Call>{{1141, 5100}, {1141, 5000}, {1141, 4900}, {1141, 5000}}));
  host.calls.clear();
  QTest::keyClick(dial, Qt::Key_Up);
  QTest::keyClick(dial, Qt::Key_Down);
  QTest::keyClick(dial, Qt::Key_Down);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1141, 5100}, {1141, 5000}, {1141, 4900}}));
}

TEST_F(DialTest, ShiftMakesStepsFineWhileHeld) {
  CVKRDial* dial = MakeDial(1, 9999);
  dial->SetValue(5000);
  QTest::keyPress(dial, Qt::Key_Shift);
  QTest::keyClick(dial, Qt::Key_Up);
  Wheel(dial, 120, Qt::ShiftModifier);
  QTest::keyRelease(dial, Qt::Key_Shift);
  QTest::keyClick(dial, Qt::Key_Up);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1141, 5001}, {1141, 5002}, {1141, 5102}}));
}

TEST_F(DialTest, NoListenerMeansNoCalls) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->SetListener(nullptr);
  QTest::keyClick(dial, Qt::Key_Up);
  Wheel(dial, 120);
  EXPECT_EQ(dial->GetValue(), 2);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(DialTest, FrameIndexSpreadsTheRangeOverTheStrip) {
  CVKRDial* type = MakeDial(0, 7);
  type->SetFrameGeometry(56, 55, 10);
  std::vector<int> frames;
  for (int v = 0; v <= 7; ++v) {
    type->SetValue(v);
    frames.push_back(type->FrameIndex());
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 3, 4, 5, 6, 8, 9}));
  CVKRDial* knob = MakeDial(0, 100);
  knob->SetFrameGeometry(46, 48, 51);
  knob->SetValue(100);
  EXPECT_EQ(knob->FrameIndex(), 50);
  knob->SetValue(60);
  EXPECT_EQ(knob->FrameIndex(), 30);
  knob->SetValue(0);
  EXPECT_EQ(knob->FrameIndex(), 0);
}

TEST_F(DialTest, DrawsItsFrameAtItsPlaceOnly) {
  CVKRDial* dial = MakeDial(0, 100, QRect(200, 150, 45, 45));
  dial->SetFrameGeometry(46, 48, 51);
  dial->Image().SetImage(FrameStrip(43, 48, 51));
  dial->SetValue(60);
  host.drawers.push_back([dial](QPainter& p) { dial->DrawOnto(p); });
  host.ShowActive();
  QImage buffer = host.Compose();
  EXPECT_EQ(qRed(buffer.pixel(200, 150)), 30);
  EXPECT_EQ(qRed(buffer.pixel(242, 194)), 30);
  // Only 43 of the 45 pixels are strip; the rest and the outside stay background.
  EXPECT_EQ(buffer.pixel(243, 170), host.background.pixel(243, 170));
  EXPECT_EQ(buffer.pixel(199, 150), host.background.pixel(199, 150));
  EXPECT_EQ(buffer.pixel(200, 195), host.background.pixel(200, 195));

  dial->setFocus();
  ASSERT_TRUE(dial->hasFocus());
  buffer = host.Compose();
  EXPECT_NEAR(qGreen(buffer.pixel(210, 160)), 0.7 * 200 + 0.3 * 20, 2) << "faded with focus";

  dial->hide();
  buffer = host.Compose();
  EXPECT_EQ(buffer.pixel(210, 160), host.background.pixel(210, 160));
}

TEST_F(DialTest, EmptyStripDrawsNothing) {
  CVKRDial* dial = MakeDial(0, 100);
  dial->Image().SetImage(FrameStrip(43, 48, 51));
  dial->Image().Clear();
  host.drawers.push_back([dial](QPainter& p) { dial->DrawOnto(p); });
  host.show();
  const QImage buffer = host.Compose();
  EXPECT_EQ(buffer.pixel(110, 110), host.background.pixel(110, 110));
}

}  // namespace
}  // namespace orv::test
