// The rules the painters share with the controls: pointer angles, selector stops, knob centres,
// and names that fit the places the skin gives them.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <cmath>
#include <set>
#include <stdexcept>

#include "FamilyStyle.h"
#include "KnobPainter.h"
#include "Lettering.h"
#include "PanelPainter.h"
#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"

namespace orv {
namespace {

TEST(KnobAngles, FramesSpreadEvenlyOverThreeHundredDegrees) {
  EXPECT_DOUBLE_EQ(KnobPainter::valueAngle(0, 51), 30.0);
  EXPECT_DOUBLE_EQ(KnobPainter::valueAngle(25, 51), 180.0);
  EXPECT_DOUBLE_EQ(KnobPainter::valueAngle(50, 51), 330.0);
  for (int f = 1; f < 51; ++f)
    EXPECT_NEAR(KnobPainter::valueAngle(f, 51) - KnobPainter::valueAngle(f - 1, 51), 6.0, 1e-9);
}

TEST(KnobAngles, DirectionMeasuresClockwiseFromStraightDown) {
  auto near = [](QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()) < 1e-9; };
  EXPECT_TRUE(near(KnobPainter::direction(0), QPointF(0, 1)));
  EXPECT_TRUE(near(KnobPainter::direction(90), QPointF(-1, 0)));
  EXPECT_TRUE(near(KnobPainter::direction(180), QPointF(0, -1)));
  EXPECT_TRUE(near(KnobPainter::direction(270), QPointF(1, 0)));
}

// The dial shows value v of 0..max as frame trunc(9 v / max + 0.5) of the selector's ten.
int selectorFrame(int value, int max) {
  return int(9.0 * value / max + 0.5);
}

TEST(KnobAngles, EveryEightPositionValueRestsOnItsOwnStop) {
  for (int v = 0; v <= 7; ++v) {
    EXPECT_EQ(KnobPainter::selectorPosition(selectorFrame(v, 7), 10), v);
    EXPECT_DOUBLE_EQ(KnobPainter::selectorAngle(selectorFrame(v, 7), 10), 30.0 + 300.0 * v / 7);
  }
}

TEST(KnobAngles, FivePositionValuesStillTurnClockwiseOntoStops) {
  std::set<int> stops;
  int previous = -1;
  for (int v = 0; v <= 4; ++v) {
    const int stop = KnobPainter::selectorPosition(selectorFrame(v, 4), 10);
    EXPECT_GT(stop, previous) << v;
    previous = stop;
    stops.insert(stop);
  }
  EXPECT_EQ(stops.size(), 5u);
}

TEST(KnobCentres, SitWhereTheStripsDrawTheirKnobs) {
  EXPECT_EQ(PanelPainter::knobCentre(1078), QPointF(264 + 26.0, 69 + 27.5));
  EXPECT_EQ(PanelPainter::knobCentre(1113), QPointF(496 + 27.5, 69 + 26.5));
  // The wider first amplifier knob and the narrower effect knob use the same strip frames.
  EXPECT_EQ(PanelPainter::knobCentre(1111), QPointF(371 + 27.5, 69 + 26.5));
  EXPECT_EQ(PanelPainter::knobCentre(1175), QPointF(606 + 22.5, 261 + 22.5));
  // The ratio scale picture is drawn around the Ratio knob.
  const LayoutRect& scale = LayoutData::at(1276).pixels;
  EXPECT_EQ(PanelPainter::knobCentre(1144) - QPointF(scale.x, scale.y), QPointF(48.5, 30.5));
  for (const ControlLayout& c : LayoutData::controls()) {
    if (c.kind != ControlKind::Dial) continue;
    const QPointF k = PanelPainter::knobCentre(c.id);
    EXPECT_GT(k.x(), c.pixels.x) << c.id;
    EXPECT_LT(k.x(), c.pixels.right()) << c.id;
    EXPECT_GT(k.y(), c.pixels.y) << c.id;
    EXPECT_LT(k.y(), c.pixels.bottom()) << c.id;
  }
}

TEST(Families, OneFamilyPerBackgroundNamingEveryLabelledType) {
  std::set<int> backgrounds;
  for (const FamilyStyle& f : FamilyStyle::all()) {
    SCOPED_TRACE(f.model);
    ASSERT_NE(f.skin, nullptr);
    EXPECT_TRUE(backgrounds.insert(f.skin->background).second);
    EXPECT_EQ(&FamilyStyle::forBackground(f.skin->background), &f);
    for (int t = 0; t < 8; ++t)
      if (f.skin->ampTypeLabels[t]) {
        ASSERT_LT(t, f.ampNames.size());
        EXPECT_FALSE(f.ampNames[t].isEmpty());
      }
    EXPECT_FALSE(f.selectorCaption.isEmpty());
    EXPECT_FALSE(f.firstKnobCaption.isEmpty());
    EXPECT_FALSE(f.delayCaption.isEmpty());
  }
  std::set<int> inventory;
  for (const ImageInfo& s : ImageInventory::images())
    if (s.role == ImageRole::Background) inventory.insert(s.id);
  EXPECT_EQ(backgrounds, inventory);
  EXPECT_THROW(FamilyStyle::forBackground(183), std::out_of_range);
}

// Every amplifier-type name stays legible in its label: the fitted lettering is not shrunk
// below 8 pixels and really fits the window.
TEST(Families, EveryTypeNameFitsItsLabelLegibly) {
  for (const FamilyStyle& f : FamilyStyle::all()) {
    for (int t = 0; t < 8; ++t) {
      const int id = f.skin->ampTypeLabels[t];
      if (!id) continue;
      SCOPED_TRACE(f.ampNames[t].toStdString());
      const double room = ImageInventory::at(id).width - 7.0;
      const QFont font = Lettering::fitted(f.ampNames[t], 9.0, true, 0.5, room);
      EXPECT_GE(font.pixelSize(), 8);
      EXPECT_LE(QFontMetricsF(font).horizontalAdvance(f.ampNames[t]), room);
    }
  }
}

TEST(Lettering, FittedShrinksOnlyWhenNeeded) {
  const QFont wide = Lettering::fitted("ACO", 9.0, true, 0.0, 200.0);
  EXPECT_EQ(wide.pixelSize(), 9);
  const QFont narrow = Lettering::fitted("A LONG AMPLIFIER NAME", 9.0, true, 0.0, 60.0);
  EXPECT_LT(narrow.pixelSize(), 9);
  EXPECT_LE(QFontMetricsF(narrow).horizontalAdvance("A LONG AMPLIFIER NAME"), 60.0);
}

TEST(Lettering, CaptionsUseTheArialFace) {
  const QFont f = Lettering::font(10.0, true);
  EXPECT_EQ(f.family(), "Arial");
  EXPECT_EQ(f.pixelSize(), 10);
  EXPECT_TRUE(f.bold());
  // fontconfig substitutes a metric-compatible face; any real face will do, but not nothing.
  EXPECT_FALSE(QFontInfo(f).family().isEmpty());
}

}  // namespace
}  // namespace orv
