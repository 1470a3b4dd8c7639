// The list's scroll bar (thumb size and place, paging, dragging, wheel, drawing) and the passive
// picture.
#include <gtest/gtest.h>

#include "ControlsTestHost.h"
#include "controls/VKRImage.h"
#include "controls/VKRScrollBar.h"

namespace orv::test {
namespace {

class ScrollBarTest : public ::testing::Test {
 protected:
  ScrollBarTest() {
    bar = new CVKRScrollBar(&host);
    bar->SetId(1287);
    bar->SetListener(&host);
    bar->Place(QRect(170, 144, 12, 419));  // the panel's bar
    bar->SetRange(0, 100);
    bar->SetThumbWidth(8);
    bar->SetThumbOffset(1, 1);
    bar->UpdateThumbHeight();
    // The main window accepts every report.
    host.onControl = [this](int, int v) {
      if (storeReports) bar->SetValue(v);
    };
  }

  ControlsTestHost host;
  CVKRScrollBar* bar;
  bool storeReports = false;
};

TEST_F(ScrollBarTest, ThumbHeightComesFromTheListLength) {
  EXPECT_EQ(bar->GetThumbHeight(), 104);  // 419 / (1900 / 419)
  EXPECT_EQ(CVKRScrollBar::ThumbHeightFor(419, 1000), 9);
  EXPECT_EQ(CVKRScrollBar::ThumbHeightFor(419, 10), 419) << "a short list fills the bar";
  EXPECT_EQ(CVKRScrollBar::ThumbHeightFor(0, 100), 0);
}

TEST_F(ScrollBarTest, ThumbRectFollowsTheValueAndStaysInTheBar) {
  EXPECT_EQ(bar->GetThumbRect(), QRect(1, 1, 8, 104));
  bar->SetValue(10);
  EXPECT_EQ(bar->GetThumbRect(), QRect(1, 42, 8, 104));  // trunc(367 / 89 * 10) = 41
  bar->SetValue(100);
  EXPECT_EQ(bar->GetThumbRect().top(), 419 - 104 + 1);
  bar->SetRange(0, 11);  // no travel: the thumb stays at the top instead of dividing by 0
  bar->SetValue(5);
  EXPECT_EQ(bar->GetThumbRect().top(), 1);
  bar->SetOrientation(0);
  EXPECT_TRUE(bar->GetThumbRect().isEmpty());
}

TEST_F(ScrollBarTest, PageClickReportsWithoutStoring) {
  bar->SetValue(50);  // thumb at 207..310
  Press(bar, QPoint(6, 100));
  Release(bar, QPoint(6, 100));
  EXPECT_EQ(bar->GetValue(), 50) << "shown where it was until the listener stores";
  Press(bar, QPoint(6, 400));
  Release(bar, QPoint(6, 400));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 40}, {1287, 60}}));
  bar->SetValue(5);
  Press(bar, QPoint(6, 0));
  Release(bar, QPoint(6, 0));
  EXPECT_EQ(host.calls.back(), (Call{1287, 0})) << "not below the minimum";
}

TEST_F(ScrollBarTest, ADoubleClickPagesOnce) {
  storeReports = true;
  bar->SetValue(50);
  DoubleClick(bar, QPoint(6, 400));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 60}}));
  EXPECT_EQ(bar->GetValue(), 60);
}

TEST_F(ScrollBarTest, StoredPagesMoveTheThumb) {
  storeReports = true;
  Press(bar, QPoint(6, 300));
  Release(bar, QPoint(6, 300));
  Press(bar, QPoint(6, 400));
  Release(bar, QPoint(6, 400));
  EXPECT_EQ(bar->GetValue(), 20);
  EXPECT_EQ(bar->GetThumbRect().top(), 83);
}

TEST_F(ScrollBarTest, PressOnTheThumbDragsWithoutAReport) {
  bar->SetValue(50);
  Press(bar, QPoint(6, 250));
  EXPECT_TRUE(host.calls.empty());
  Move(bar, QPoint(6, 419));  // the bottom: the last top row of the travel
  EXPECT_EQ(bar->GetValue(), 89);
  Move(bar, QPoint(30, 209));  // half way, whatever the x
  EXPECT_EQ(bar->GetValue(), 44);
  Move(bar, QPoint(6, -40));  // above the bar
  EXPECT_EQ(bar->GetValue(), 0);
  Move(bar, QPoint(6, 900));
  EXPECT_EQ(bar->GetValue(), 89);
  Release(bar, QPoint(6, 900));
  Move(bar, QPoint(6, 0));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 89}, {1287, 44}, {1287, 0}, {1287, 89}}));
  // Level with the thumb but beside it still grabs the thumb.
  host.calls.clear();
  Press(bar, QPoint(11, bar->GetThumbRect().center().y()));
  Release(bar, QPoint(11, bar->GetThumbRect().center().y()));
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ScrollBarTest, PageThenHeldMoveDrags) {
  bar->SetValue(0);
  Press(bar, QPoint(6, 300));
  Move(bar, QPoint(6, 300));
  Release(bar, QPoint(6, 300));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 10}, {1287, 63}}));
}

TEST_F(ScrollBarTest, WheelProposesOneRowWithinTheRange) {
  Wheel(bar, 120);  // at the top row: proposes the minimum again
  Wheel(bar, -120);
  bar->SetValue(100);
  Wheel(bar, -120);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1287, 0}, {1287, 1}, {1287, 100}}));
  EXPECT_EQ(bar->GetValue(), 100);
}

TEST_F(ScrollBarTest, DrawsTrackAndScaledThumbAtItsPlace) {
  QImage track(13, 442, QImage::Format_RGB32);
  for (int y = 0; y < 442; ++y)
    for (int x = 0; x < 13; ++x) track.setPixel(x, y, qRgb(0, y % 256, 200));
  bar->BackImage().SetImage(track);
  bar->Image().SetImage(Solid(8, 101, QColor(250, 0, 0)));
  bar->SetValue(10);
  host.drawers.push_back([this](QPainter& p) { bar->DrawOnto(p); });
  host.show();
  const QImage buffer = host.Compose();
  EXPECT_EQ(qGreen(buffer.pixel(170, 144)), 1) << "the track's first row is skipped";
  EXPECT_EQ(qGreen(buffer.pixel(177, 150)), 7);
  EXPECT_EQ(buffer.pixel(178, 150), host.background.pixel(178, 150)) << "track: thumb width";
  EXPECT_EQ(qRed(buffer.pixel(171, 144 + 42)), 250);
  EXPECT_EQ(qRed(buffer.pixel(178, 144 + 42 + 103)), 250) << "thumb stretched to 104";
  EXPECT_EQ(qRed(buffer.pixel(171, 144 + 42 + 104)), 0);
  EXPECT_EQ(qRed(buffer.pixel(171, 144 + 41)), 0);
  bar->hide();
  EXPECT_EQ(host.Compose().pixel(171, 200), host.background.pixel(171, 200));
}

TEST(ImagePictureTest, DrawsTheTopLeftPartThatFits) {
  ControlsTestHost host;
  auto* picture = new CVKRImage(&host);
  picture->Place(QRect(554, 166, 98, 56));
  QImage scale(96, 57, QImage::Format_RGB32);
  scale.fill(QColor(0, 100, 0));
  scale.setPixelColor(95, 55, QColor(200, 0, 0));
  scale.setPixelColor(0, 56, QColor(200, 0, 0));
  picture->Image().SetImage(scale);
  host.drawers.push_back([picture](QPainter& p) { picture->DrawOnto(p); });
  host.show();
  QImage buffer = host.Compose();
  EXPECT_EQ(buffer.pixelColor(554, 166), QColor(0, 100, 0));
  EXPECT_EQ(buffer.pixelColor(554 + 95, 166 + 55), QColor(200, 0, 0));
  EXPECT_EQ(buffer.pixelColor(554, 166 + 56), QColor(10, 20, 30)) << "the last row is cut";
  EXPECT_EQ(buffer.pixelColor(554 + 96, 166), QColor(10, 20, 30)) << "no stretching";
  EXPECT_TRUE(picture->testAttribute(Qt::WA_TransparentForMouseEvents));
  picture->hide();
  buffer = host.Compose();
  EXPECT_EQ(buffer.pixelColor(554, 166), QColor(10, 20, 30));
}

TEST(ControlAreaTest, AmplifierTypeKnobRepaintsAnEllipse) {
  ControlsTestHost host;
  auto* picture = new CVKRImage(&host);
  picture->Place(QRect(264, 70, 52, 55));
  EXPECT_EQ(picture->RepaintArea(), QRegion(QRect(264, 70, 52, 55)));
  picture->SetEllipticArea(true);
  const QRegion area = picture->RepaintArea();
  EXPECT_TRUE(area.contains(QPoint(290, 97)));
  EXPECT_FALSE(area.contains(QPoint(265, 71))) << "the corners stay untouched";
  EXPECT_TRUE(QRegion(QRect(264, 70, 52, 55)).contains(area.boundingRect()));
}

}  // namespace
}  // namespace orv::test
