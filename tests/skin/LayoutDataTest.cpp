// The layout table: conversion to client pixels, consistency of the sections' columns, and the
// fit of every control to the images it draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

#include "skin/ImageInventory.h"
#include "skin/LayoutData.h"
#include "skin/ModelSkin.h"

namespace orv {
namespace {

const LayoutRect& px(int id) {
  return LayoutData::at(id).pixels;
}

bool overlaps(const LayoutRect& a, const LayoutRect& b) {
  return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

TEST(LayoutConversion, ScalesEachCoordinateAndTruncates) {
  EXPECT_EQ(LayoutData::toPixels({0, 0, 530, 369}), (LayoutRect{0, 0, 800, 600}));
  EXPECT_EQ(LayoutData::toPixels({1, 1, 1, 1}), (LayoutRect{1, 1, 1, 1}));  // 1.51, 1.63
  // Truncating each value on its own: 530 - 1 units wide is 798 pixels, not 800 - 1.
  EXPECT_EQ(LayoutData::toPixels({1, 1, 529, 368}), (LayoutRect{1, 1, 798, 598}));
}

TEST(LayoutConversion, KnownControlsLandWhereThePanelArtExpectsThem) {
  EXPECT_EQ(px(1078), (LayoutRect{264, 69, 52, 55}));    // amplifier-type selector
  EXPECT_EQ(px(1111), (LayoutRect{371, 69, 57, 53}));    // the one wider amplifier knob
  EXPECT_EQ(px(1175), (LayoutRect{606, 261, 43, 45}));   // the one narrower effect knob
  EXPECT_EQ(px(1237), (LayoutRect{720, 439, 45, 45}));   // 477 units is exactly 720 pixels
  EXPECT_EQ(px(1273), (LayoutRect{647, 559, 140, 39}));  // connection indicator
  EXPECT_EQ(px(1004), (LayoutRect{199, 565, 24, 24}));   // Save to Library
  EXPECT_EQ(px(1076), (LayoutRect{383, 21, 404, 19}));   // patch name
  EXPECT_EQ(px(1012), (LayoutRect{15, 134, 150, 440}));  // library list
  EXPECT_EQ(LayoutData::at(1111).units.width, 38);
}

TEST(LayoutTable, IdentifiersAreUniqueAndLookupsAgree) {
  std::set<int> ids;
  for (const ControlLayout& c : LayoutData::controls()) {
    EXPECT_TRUE(ids.insert(c.id).second) << "duplicate " << c.id;
    EXPECT_EQ(LayoutData::find(c.id), &c);
  }
  EXPECT_EQ(LayoutData::find(1), nullptr);
  EXPECT_THROW(LayoutData::at(1), std::out_of_range);
}

TEST(LayoutTable, EveryControlLiesInsideTheClient) {
  for (const ControlLayout& c : LayoutData::controls()) {
    SCOPED_TRACE(c.id);
    EXPECT_GT(c.pixels.width, 0);
    EXPECT_GT(c.pixels.height, 0);
    EXPECT_GE(c.pixels.x, 0);
    EXPECT_GE(c.pixels.y, 0);
    EXPECT_LE(c.pixels.right(), LayoutData::kClientWidth);
    EXPECT_LE(c.pixels.bottom(), LayoutData::kClientHeight);
    EXPECT_EQ(c.pixels, LayoutData::toPixels(c.units));
  }
}

TEST(LayoutTable, HasThePanelsControlCounts) {
  std::map<ControlKind, int> counts;
  for (const ControlLayout& c : LayoutData::controls()) ++counts[c.kind];
  EXPECT_EQ(counts[ControlKind::Dial], 30);
  EXPECT_EQ(counts[ControlKind::NumberDisplay], 29);
  EXPECT_EQ(counts[ControlKind::Label], 25);
  EXPECT_EQ(counts[ControlKind::PullDown], 6);
  EXPECT_EQ(counts[ControlKind::Picture], 6);
  EXPECT_EQ(counts[ControlKind::Button], 15);
  EXPECT_EQ(counts[ControlKind::RepeatButton], 2);
}

TEST(LayoutTable, TemplateFlagsMarkTheHiddenAndDisabledControls) {
  for (int id : {1035, 1134}) EXPECT_TRUE(LayoutData::at(id).flags & kLayoutHidden) << id;
  for (int id : {1004, 1273}) EXPECT_TRUE(LayoutData::at(id).flags & kLayoutDisabled) << id;
  for (const ControlLayout& c : LayoutData::controls())
    if (c.kind == ControlKind::Label) {
      EXPECT_TRUE(c.flags & kLayoutHidden) << c.id;
    }
  EXPECT_EQ(LayoutData::at(1211).text, "Time");
  EXPECT_EQ(LayoutData::at(1245).text, "High Ratio");
  EXPECT_EQ(LayoutData::at(1153).text, "");
}

// Each number display sits just above its dial (dial id = display id + 10) and each label above
// its display, in the same column: a mistyped column shows up here.
TEST(LayoutTable, LabelsDisplaysAndDialsStackInColumns) {
  auto centreX2 = [](int id) { return px(id).centerX2(); };
  for (const ControlLayout& d : LayoutData::controls()) {
    if (d.kind != ControlKind::NumberDisplay) continue;
    SCOPED_TRACE(d.id);
    const int dial = d.id + 10;
    EXPECT_LE(std::abs(centreX2(d.id) - centreX2(dial)), 8);  // within 4 pixels
    EXPECT_LE(d.pixels.bottom(), px(dial).y + 2);
    EXPECT_GE(d.pixels.bottom(), px(dial).y - 8);
  }
  // Section labels: 20 above their display; the compressor's fifth label (Knee) stands over the
  // knee chooser and its sixth over the fifth display.
  for (const ControlLayout& l : LayoutData::controls()) {
    if (l.kind != ControlKind::Label) continue;
    SCOPED_TRACE(l.id);
    const int below = l.id == 1155 ? 1147 : l.id == 1156 ? 1135 : l.id - 20;
    EXPECT_LE(std::abs(centreX2(l.id) - centreX2(below)), 8);
    EXPECT_LE(l.pixels.y, px(below).y);
    EXPECT_GE(l.pixels.y, px(below).y - 16);
  }
}

// A control never shows more of its image than one cell: a dial taller than its strip's frame
// would show the top of the next frame, a button taller than its cell the next face.
TEST(LayoutTable, DrawnControlsFitTheirImageCells) {
  for (const ControlLayout& c : LayoutData::controls()) {
    if (c.image == 0 || c.kind == ControlKind::ListBox || c.kind == ControlKind::ScrollBar ||
        c.kind == ControlKind::Picture)
      continue;
    SCOPED_TRACE(c.id);
    const ImageInfo& img = ImageInventory::at(c.image);
    if (c.kind == ControlKind::Button && c.id >= 1087 && c.id <= 1094) {
      EXPECT_LE(c.pixels.height, img.height);  // the names are one row of their own height
      continue;
    }
    EXPECT_LE(c.pixels.height, img.cellHeight);
    if (c.kind == ControlKind::NumberDisplay) {
      EXPECT_EQ(c.pixels.width, img.width);
      EXPECT_EQ(c.pixels.height, img.height);
    }
  }
  // The list rows are one 19-pixel row of the list's width; the thumb fits the bar.
  EXPECT_GE(ImageInventory::at(183).width, px(1012).width);
  EXPECT_GE(ImageInventory::at(183).height, 19);
  EXPECT_GE(ImageInventory::at(232).height - 1, px(1287).height);
}

TEST(ModelSkins, EachModelPicksItsImages) {
  EXPECT_EQ(ModelSkin::forModel('0').background, 216);
  EXPECT_EQ(ModelSkin::forModel('1').background, 216);
  EXPECT_EQ(ModelSkin::forModel('2').background, 252);
  EXPECT_EQ(ModelSkin::forModel('3').background, 241);
  EXPECT_EQ(ModelSkin::forModel('4').background, 233);
  EXPECT_EQ(&ModelSkin::forModel('x'), &ModelSkin::forModel('0'));
  EXPECT_EQ(ModelSkin::forModel('0').ampTypeMax(), 4);
  EXPECT_EQ(ModelSkin::forModel('3').ampTypeMax(), 7);
  EXPECT_EQ(ModelSkin::forModel('4').ampTypeLabels[5], 0);
  EXPECT_FALSE(ModelSkin::forModel('3').delayHasCuts);
  // Every image a skin names is in the inventory.
  for (const ModelSkin& s : ModelSkin::all()) {
    for (int id : {s.background, s.connectionIndicator, s.ratioScale, s.sectionSwitch,
                   s.cabinetCaption, s.listRow, s.scrollTrack})
      EXPECT_NE(ImageInventory::find(id), nullptr) << s.model << " " << id;
    for (int id : s.ampTypeLabels)
      if (id) {
        EXPECT_NE(ImageInventory::find(id), nullptr) << s.model << " " << id;
      }
  }
}

TEST(ModelSkins, TypeNamesKeepTheirColumnEdgeAndNeverCollide) {
  for (const ModelSkin& s : ModelSkin::all()) {
    SCOPED_TRACE(s.model);
    for (int t = 0; t < 8; ++t) {
      const LayoutRect r = s.labelRect(t);
      if (s.ampTypeLabels[t] == 0) {
        EXPECT_EQ(r.width, 0);
        continue;
      }
      const LayoutRect& button = px(1087 + t);
      EXPECT_EQ(r.width, ImageInventory::at(s.ampTypeLabels[t]).width);
      if (t < 5)
        EXPECT_EQ(r.right(), button.right());
      else
        EXPECT_EQ(r.x, button.x);
      EXPECT_GE(r.x, 0);
      EXPECT_FALSE(overlaps(r, px(1078))) << "type " << t << " covers the selector";
      for (int u = t + 1; u < 8; ++u)
        if (s.ampTypeLabels[u]) {
          EXPECT_FALSE(overlaps(r, s.labelRect(u))) << t << " and " << u;
        }
    }
  }
}

}  // namespace
}  // namespace orv
