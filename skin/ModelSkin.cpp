#include "skin/ModelSkin.h"

#include "skin/ImageInventory.h"

namespace orv {
namespace {

constexpr int kFirstLabelButton = 1087;
constexpr int kLeftColumnLabels = 5;

std::array<int, 8> labelRun(int first, int count) {
  std::array<int, 8> ids{};
  for (int i = 0; i < count; ++i) ids[i] = first + i;
  return ids;
}

std::array<ModelSkin, 5> build() {
  ModelSkin none;
  none.model = '0';
  none.ampTypeLabels = labelRun(194, 8);
  none.coversUpperLabels = true;

  ModelSkin one = none;
  one.model = '1';
  one.ampTypeCount = 8;
  one.coversUpperLabels = false;

  ModelSkin two = one;
  two.model = '2';
  two.background = 252;
  two.connectionIndicator = 253;
  two.ampTypeLabels = labelRun(255, 8);
  two.cabinetListKind = 6;
  two.ratioScale = 254;
  two.sectionSwitch = 263;
  two.cabinetCaption = 264;

  ModelSkin three = one;
  three.model = '3';
  three.background = 241;
  three.connectionIndicator = 242;
  three.ampTypeLabels = labelRun(243, 8);
  three.cabinetListKind = 7;
  three.cabinetCaption = 251;
  three.delayHasCuts = false;

  ModelSkin four = none;
  four.model = '4';
  four.background = 233;
  four.connectionIndicator = 234;
  four.ampTypeLabels = labelRun(235, 5);
  four.coversUpperLabels = false;
  four.listRow = 184;
  four.scrollTrack = 231;
  four.hasCabinet = false;
  return {none, one, two, three, four};
}

const std::array<ModelSkin, 5>& skins() {
  static const std::array<ModelSkin, 5> table = build();
  return table;
}

}  // namespace

int ModelSkin::labelWidth(int type) const {
  if (type < 0 || type >= 8 || ampTypeLabels[type] == 0) return 0;
  return ImageInventory::at(ampTypeLabels[type]).width;
}

LayoutRect ModelSkin::labelRect(int type) const {
  const int width = labelWidth(type);
  if (width == 0) return {};
  LayoutRect r = LayoutData::at(kFirstLabelButton + type).pixels;
  if (type < kLeftColumnLabels) r.x = r.right() - width;
  r.width = width;
  return r;
}

const ModelSkin& ModelSkin::forModel(char model) {
  if (model >= '0' && model <= '4') return skins()[model - '0'];
  return skins()[0];
}

std::span<const ModelSkin> ModelSkin::all() {
  return skins();
}

}  // namespace orv
