#pragma once
// Which images dress the panel for each device model character. '0' (also the state before any
// device is identified) and '1' share the default skin.
#include <array>
#include <span>

#include "skin/LayoutData.h"

namespace orv {

struct ModelSkin {
  char model = '0';
  int background = 216;
  int connectionIndicator = 186;
  std::array<int, 8> ampTypeLabels{};  // label image per amplifier type; 0 where the model has none
  int ampTypeCount = 5;                // positions of the amplifier-type selector
  int cabinetListKind = 4;
  int ratioScale = 193;
  int sectionSwitch = 192;
  int cabinetCaption = 225;  // picture at the cabinet caption
  int listRow = 183;
  int scrollTrack = 232;
  bool coversUpperLabels = false;  // pictures 220..222 hide the printed names of types 5..7
  bool hasCabinet = true;          // false: cabinet pull-down and caption picture stay hidden
  bool delayHasCuts = true;        // false: the delay shows no High Cut and Low Cut knobs

  int ampTypeMax() const { return ampTypeCount - 1; }
  // Pixel width of the name of amplifier type i (the width of its label image), 0 if none.
  int labelWidth(int type) const;
  // Where the name of amplifier type i sits on the 800 x 600 panel: the template's place of its
  // label button, given the label image's width. The left column (types 0..4) keeps its right
  // edge, the right column (5..7) its left edge. An empty rectangle where the model has no name.
  LayoutRect labelRect(int type) const;

  // The skin for a model character; unknown characters get the default skin of '0'.
  static const ModelSkin& forModel(char model);

  // The five skins, '0' to '4'.
  static std::span<const ModelSkin> all();
};

}  // namespace orv
