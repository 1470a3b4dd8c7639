#include "FamilyStyle.h"

#include <stdexcept>

namespace orv {
namespace {

QList<FamilyStyle> build() {
  FamilyStyle classic;
  classic.model = '1';
  classic.panel = PanelMaterial::BlackTolex;
  classic.header = HeaderMaterial::BrushedAluminium;
  classic.panelBase = QColor(30, 30, 32);
  classic.headerBase = QColor(178, 180, 184);
  classic.headerInk = QColor(22, 22, 24);
  classic.panelInk = QColor(214, 216, 220);
  classic.accent = QColor(236, 170, 40);
  classic.trim = QColor(200, 202, 206);
  classic.wellTint = QColor(12, 12, 14);
  classic.legendLit = QColor(255, 186, 60);
  classic.legendDim = QColor(96, 96, 100);
  classic.legendWindow = QColor(16, 16, 18);
  classic.ledLit = QColor(90, 255, 120);
  classic.ampNames = {"CLEAN", "CRUNCH", "LEAD", "BRIT HI", "MODERN", "BASS", "ACO", "FLAT"};
  classic.selectorCaption = "AMP TYPE";
  classic.firstKnobCaption = "GAIN";
  classic.delayCaption = "DELAY";
  classic.tagline = "MODELING AMPLIFIER";
  classic.seed = 216;

  FamilyStyle highGain = classic;
  highGain.model = '2';
  highGain.panel = PanelMaterial::Crinkle;
  highGain.header = HeaderMaterial::DarkSteel;
  highGain.panelBase = QColor(40, 42, 46);
  highGain.headerBase = QColor(70, 72, 78);
  highGain.headerInk = QColor(236, 236, 238);
  highGain.panelInk = QColor(225, 225, 228);
  highGain.accent = QColor(226, 36, 32);
  highGain.trim = QColor(150, 152, 158);
  highGain.wellTint = QColor(10, 10, 12);
  highGain.legendLit = QColor(255, 70, 52);
  highGain.legendDim = QColor(104, 100, 102);
  highGain.legendWindow = QColor(14, 12, 12);
  highGain.ledLit = QColor(90, 200, 255);
  highGain.ampNames = {"POWER I",     "POWER II", "BROWN I", "BROWN II",
                       "SOUTHERN HI", "CLEAN",    "BASS",    "FLAT"};
  highGain.tagline = "HIGH GAIN AMPLIFIER";
  highGain.seed = 252;

  FamilyStyle vintage = classic;
  vintage.model = '3';
  vintage.panel = PanelMaterial::OxbloodTolex;
  vintage.header = HeaderMaterial::Ivory;
  vintage.panelBase = QColor(74, 22, 24);
  vintage.headerBase = QColor(226, 212, 180);
  vintage.headerInk = QColor(70, 34, 20);
  vintage.panelInk = QColor(236, 220, 184);
  vintage.accent = QColor(214, 176, 96);
  vintage.trim = QColor(212, 180, 112);
  vintage.wellTint = QColor(22, 10, 10);
  vintage.legendLit = QColor(255, 226, 150);
  vintage.legendDim = QColor(120, 100, 84);
  vintage.legendWindow = QColor(40, 18, 14);
  vintage.ledLit = QColor(255, 196, 80);
  vintage.ampNames = {"DELUXE", "CLASS A", "US BLUES", "BRIT BLUES", "MINI", "BASS", "ACO", "FLAT"};
  vintage.delayCaption = "TAPE ECHO";
  vintage.tagline = "BOUTIQUE AMPLIFIER";
  vintage.seed = 241;

  FamilyStyle acoustic = classic;
  acoustic.model = '4';
  acoustic.panel = PanelMaterial::Rosewood;
  acoustic.header = HeaderMaterial::Spruce;
  acoustic.panelBase = QColor(52, 30, 20);
  acoustic.headerBase = QColor(214, 178, 122);
  acoustic.headerInk = QColor(62, 34, 16);
  acoustic.panelInk = QColor(240, 224, 196);
  acoustic.accent = QColor(202, 160, 82);
  acoustic.trim = QColor(196, 160, 96);
  acoustic.wellTint = QColor(22, 14, 9);
  acoustic.legendLit = QColor(255, 214, 130);
  acoustic.legendDim = QColor(130, 104, 78);
  acoustic.legendWindow = QColor(30, 18, 10);
  acoustic.ledLit = QColor(120, 240, 150);
  acoustic.ampNames = {"EG CLN", "NYLON", "TUBE", "DYNAMIC", "CONDENSER"};
  acoustic.selectorCaption = "MIC TYPE";
  acoustic.firstKnobCaption = "BLEND";
  acoustic.tagline = "ACOUSTIC AMPLIFIER";
  acoustic.printsCabinetCaption = false;
  acoustic.seed = 233;

  QList<FamilyStyle> all = {classic, highGain, vintage, acoustic};
  for (FamilyStyle& f : all) f.skin = &ModelSkin::forModel(f.model);
  return all;
}

}  // namespace

const QList<FamilyStyle>& FamilyStyle::all() {
  static const QList<FamilyStyle> families = build();
  return families;
}

const FamilyStyle& FamilyStyle::forBackground(int backgroundId) {
  for (const FamilyStyle& f : all())
    if (f.skin->background == backgroundId) return f;
  throw std::out_of_range("no family draws background " + std::to_string(backgroundId));
}

}  // namespace orv
