// The number display: its steps, its gestures, the inline entry's commit and cancel paths, the
// value-text plug-in and what it draws.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "ControlsTestHost.h"
#include "controls/VKRNumberEdit.h"
#include "controls/VKRNumberEditText.h"
#include "controls/ValueScale.h"
#include "patch/ValueText.h"

namespace orv::test {
namespace {

class NumberDisplayTest : public ::testing::Test {
 protected:
  CVKRNumberEditText* MakeDisplay(int min, int max, int formatId = 1002) {
    auto* display = new CVKRNumberEditText(&host);
    display->SetRange(min, max);
    display->SetId(1101);
    display->SetFormatId(formatId);
    display->SetListener(&host);
    display->SetFormatter(formatValue);
    display->SetParser(parseValue);
    display->Place(QRect(250, 50, 42, 17));
    display->BackImage().SetImage(Solid(42, 17, QColor(40, 40, 40)));
    return display;
  }
  static std::vector<int> Walk(CVKRNumberEditText* d, int from, bool down, int n) {
    d->SetValue(from);
    std::vector<int> out;
    for (int i = 0; i < n; ++i) {
      d->Step(down);
      out.push_back(d->GetValue());
    }
    return out;
  }
  // Opens the entry, types `text` over the selection and ends with `key`.
  void Type(CVKRNumberEditText* d, const QString& text, Qt::Key key) {
    QTest::mouseDClick(d, Qt::LeftButton);
    ASSERT_TRUE(d->IsEntryOpen());
    ASSERT_TRUE(d->Entry()->hasFocus());
    QTest::keyClicks(d->Entry(), text);
    QTest::keyClick(d->Entry(), key);
  }

  ControlsTestHost host;
};

TEST_F(NumberDisplayTest, StepsFollowRangeScaleAndRule) {
  CVKRNumberEditText* plain = MakeDisplay(0, 100);
  EXPECT_EQ(Walk(plain, 50, false, 2), (std::vector<int>{51, 52}));
  EXPECT_EQ(Walk(plain, 1, true, 2), (std::vector<int>{0, 0}));
  CVKRNumberEditText* time = MakeDisplay(1, 9999, 1035);
  EXPECT_EQ(Walk(time, 5000, false, 2), (std::vector<int>{5100, 5200}));
  time->SetFine(true);
  EXPECT_EQ(Walk(time, 5000, false, 2), (std::vector<int>{5001, 5002}));
  CVKRNumberEditText* reverb = MakeDisplay(3, 200, 1042);
  reverb->SetHundredRule(true);
  EXPECT_EQ(Walk(reverb, 98, false, 3), (std::vector<int>{99, 100, 110}));
  EXPECT_EQ(Walk(reverb, 105, true, 2), (std::vector<int>{99, 98}));
  CVKRNumberEditText* cut = MakeDisplay(1000, 16001, 1037);
  cut->SetLogScale(true);
  const ValueScale scale(1000, 16001, true);
  cut->SetValue(4000);
  cut->Step(false);
  EXPECT_NEAR(scale.ToFraction(cut->GetValue()) - scale.ToFraction(4000), 0.01f, 0.002f);
  EXPECT_EQ(Walk(cut, 16000, false, 1), (std::vector<int>{16001}));
  EXPECT_TRUE(host.calls.empty()) << "Step alone reports nothing";
}

TEST_F(NumberDisplayTest, SetValueClampsAndStartsAtOne) {
  CVKRNumberEditText fresh;
  EXPECT_EQ(fresh.GetValue(), 1);
  EXPECT_EQ(fresh.GetMin(), 0);
  EXPECT_EQ(fresh.GetMax(), 10);
  fresh.SetValue(11);
  EXPECT_EQ(fresh.GetValue(), 10);
  fresh.SetValue(-1);
  EXPECT_EQ(fresh.GetValue(), 0);
}

TEST_F(NumberDisplayTest, VerticalDragStepsSidewaysDoesNot) {
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->SetValue(50);
  Press(d, QPoint(10, 8));
  Move(d, QPoint(10, 5));   // up
  Move(d, QPoint(30, 5));   // sideways: no step, still reported
  Move(d, QPoint(30, 15));  // down
  Move(d, QPoint(30, 16));  // down
  Release(d, QPoint(30, 16));
  EXPECT_EQ(host.calls, (std::vector<Call>{{1101, 51}, {1101, 51}, {1101, 50}, {1101, 49}}));
}

TEST_F(NumberDisplayTest, WheelStepsAndReports) {
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->SetValue(100);
  Wheel(d, 120);
  Wheel(d, -240);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1101, 100}, {1101, 99}, {1101, 98}}));
}

TEST_F(NumberDisplayTest, EnterStoresAndReportsTwice) {
  host.ShowActive();
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->show();
  d->SetValue(30);
  QTest::mouseDClick(d, Qt::LeftButton);
  ASSERT_TRUE(d->IsEntryOpen());
  EXPECT_EQ(d->Entry()->text(), "3.0");
  EXPECT_EQ(d->Entry()->selectedText(), "3.0");
  EXPECT_EQ(d->Entry()->geometry(), QRect(0, 3, 42, 11));
  QTest::keyClicks(d->Entry(), "2.5");
  QTest::keyClick(d->Entry(), Qt::Key_Return);
  EXPECT_EQ(d->GetValue(), 25);
  EXPECT_FALSE(d->IsEntryOpen());
  EXPECT_TRUE(d->hasFocus());
  EXPECT_EQ(host.calls, (std::vector<Call>{{1101, 25}, {1101, 25}}));
}

TEST_F(NumberDisplayTest, EscapeReportsNothingAndKeepsTheValue) {
  host.ShowActive();
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->show();
  d->SetValue(30);
  Type(d, "77", Qt::Key_Escape);
  EXPECT_FALSE(d->IsEntryOpen());
  EXPECT_EQ(d->GetValue(), 30);
  EXPECT_TRUE(host.calls.empty());
  // The entry is kept and comes back with the current text; a later focus loss commits.
  d->SetValue(40);
  QTest::mouseDClick(d, Qt::LeftButton);
  ASSERT_TRUE(d->IsEntryOpen());
  EXPECT_EQ(d->Entry()->text(), "4.0");
  QTest::keyClicks(d->Entry(), "6");
  auto* other = new QLineEdit(&host);
  other->show();
  other->setFocus();
  EXPECT_FALSE(d->IsEntryOpen());
  EXPECT_EQ(d->GetValue(), 60);
  EXPECT_EQ(host.calls, (std::vector<Call>{{1101, 60}})) << "a focus loss reports once";
}

TEST_F(NumberDisplayTest, ClosingTheWindowOrTheDisplayDropsTheTypedText) {
  host.ShowActive();
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->show();
  d->SetValue(30);
  QTest::mouseDClick(d, Qt::LeftButton);
  QTest::keyClicks(d->Entry(), "9");
  delete d;  // with the entry open and focused
  EXPECT_TRUE(host.calls.empty());
  d = MakeDisplay(0, 100);
  d->show();
  d->SetValue(30);
  QTest::mouseDClick(d, Qt::LeftButton);
  ASSERT_TRUE(d->Entry()->hasFocus());
  QTest::keyClicks(d->Entry(), "9");
  host.close();
  EXPECT_TRUE(host.calls.empty()) << "the closing window is not called back";
  EXPECT_EQ(d->GetValue(), 30);
}

TEST_F(NumberDisplayTest, DisablingOrHidingTheDisplayCancelsItsEntry) {
  // A refresh grays or hides a section while the user is typing into one of its displays.
  host.ShowActive();
  for (const bool hide : {false, true}) {
    host.calls.clear();
    CVKRNumberEditText* d = MakeDisplay(0, 100);
    d->show();
    d->SetValue(30);
    QTest::mouseDClick(d, Qt::LeftButton);
    ASSERT_TRUE(d->Entry()->hasFocus());
    QTest::keyClicks(d->Entry(), "9");
    d->SetValue(55);  // the new patch's value
    if (hide)
      d->hide();
    else
      d->setEnabled(false);
    EXPECT_TRUE(host.calls.empty()) << hide;
    EXPECT_EQ(d->GetValue(), 55) << hide;
    EXPECT_FALSE(d->Entry()->isVisibleTo(d)) << hide;
    d->setEnabled(true);
    d->show();
    EXPECT_FALSE(d->IsEntryOpen()) << "the typed text is gone for good";
    delete d;
  }
}

TEST_F(NumberDisplayTest, TypedTextFollowsTheValueRules) {
  host.ShowActive();
  struct Case {
    int min, max, formatId;
    const char* typed;
    int stored;
  };
  const Case cases[] = {
      {0, 100, 1002, "2.5", 25},         {0, 100, 1002, "150", 100},
      {0, 100, 1002, "abc", 0},          {1000, 16001, 1037, "Thru", 16001},
      {1000, 16001, 1037, "thru", 1000}, {21, 8000, 1038, "Thru", 21},
      {0, 600, 1011, "-12.5", 475},      {0, 600, 1011, "x", 600},
      {3, 200, 1042, "15", 150},         {1, 9999, 1035, "12.34", 123},
  };
  for (const Case& c : cases) {
    host.calls.clear();
    CVKRNumberEditText* d = MakeDisplay(c.min, c.max, c.formatId);
    d->show();
    Type(d, c.typed, Qt::Key_Enter);
    EXPECT_EQ(d->GetValue(), c.stored) << c.typed << " as " << c.formatId;
    EXPECT_EQ(host.calls.size(), 2u);
    delete d;
  }
}

TEST_F(NumberDisplayTest, ParserResultIsClampedToTheDisplay) {
  CVKRNumberEditText* d = MakeDisplay(10, 20);
  std::string seen;
  int seenId = 0;
  d->SetParser([&](int id, std::string_view text) {
    seen = text;
    seenId = id;
    return 1000;
  });
  EXPECT_EQ(d->ValueFromText(QString(300, QChar('7'))), 20);
  EXPECT_EQ(seen.size(), 255u) << "at most 255 typed characters are read";
  EXPECT_EQ(seenId, 1002);
  d->SetParser(nullptr);
  d->SetFormatter(nullptr);
  EXPECT_EQ(d->ValueFromText(" 15 dB"), 15);
  d->SetValue(12);
  EXPECT_EQ(d->DisplayText(), "12");
}

// The brightest red over a black plate, and whether every lit pixel has the hue of `colour`.
struct TextInk {
  int maxRed = 0;
  bool hueMatches = true;
};
TextInk InkOf(const QImage& image, QColor colour) {
  TextInk ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (p.red() < 16) continue;
      ink.maxRed = std::max(ink.maxRed, p.red());
      const double ratio = double(p.green()) / p.red();
      if (std::abs(ratio - double(colour.green()) / colour.red()) > 0.1 || p.blue() > 8)
        ink.hueMatches = false;
    }
  return ink;
}

TEST_F(NumberDisplayTest, DrawsAmberTextOrDarkBrownWhenDisabled) {
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->BackImage().SetImage(Solid(42, 17, Qt::black));
  d->SetValue(88);
  const QColor amber(255, 174, 0), brown(64, 44, 0);
  TextInk ink = InkOf(d->grab().toImage(), amber);
  EXPECT_GT(ink.maxRed, 200);
  EXPECT_TRUE(ink.hueMatches);
  d->setEnabled(false);
  ink = InkOf(d->grab().toImage(), brown);
  EXPECT_GT(ink.maxRed, 40);
  EXPECT_LE(ink.maxRed, 64);
  EXPECT_TRUE(ink.hueMatches);
}

TEST_F(NumberDisplayTest, OpenEntryHidesTheText) {
  host.ShowActive();
  CVKRNumberEditText* d = MakeDisplay(0, 100);
  d->show();
  d->SetValue(88);
  d->OpenEntry();
  QImage shot(d->size(), QImage::Format_RGB32);
  d->render(&shot, QPoint(), QRegion(), QWidget::DrawWindowBackground);  // without the entry
  EXPECT_EQ(shot.pixelColor(20, 8), QColor(40, 40, 40));
  EXPECT_EQ(InkOf(shot, QColor(255, 174, 0)).maxRed, 40) << "only the plate";
}

}  // namespace
}  // namespace orv::test
