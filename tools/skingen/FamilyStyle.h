#pragma once
// The look of one model family's panel: materials, ink colours and the texts its skin prints.
#include <QColor>
#include <QString>
#include <QStringList>

#include "skin/ModelSkin.h"

namespace orv {

enum class PanelMaterial { BlackTolex, Crinkle, OxbloodTolex, Rosewood };
enum class HeaderMaterial { BrushedAluminium, DarkSteel, Ivory, Spruce };

struct FamilyStyle {
  char model = '1';  // the model character whose skin this is (the default skin serves '0' too)
  const ModelSkin* skin = nullptr;
  PanelMaterial panel = PanelMaterial::BlackTolex;
  HeaderMaterial header = HeaderMaterial::BrushedAluminium;
  QColor panelBase;     // main colour of the faceplate
  QColor headerBase;    // main colour of the amplifier header strip
  QColor headerInk;     // printing on the header
  QColor panelInk;      // printing on the faceplate
  QColor accent;        // logo, caption bars, trim lines
  QColor trim;          // metal trim and screws
  QColor wellTint;      // the recessed library and name windows
  QColor legendLit;     // lit amplifier-type names
  QColor legendDim;     // unlit amplifier-type names
  QColor legendWindow;  // the small windows behind the names
  QColor ledLit;        // the connection lamp
  QStringList ampNames;
  QString selectorCaption;
  QString firstKnobCaption;
  QString delayCaption;
  QString tagline;
  bool printsCabinetCaption = true;
  uint32_t seed = 1;

  // The four families, in the order of their backgrounds 216, 252, 241, 233.
  static const QList<FamilyStyle>& all();
  // The family that draws a background image.
  static const FamilyStyle& forBackground(int backgroundId);
};

}  // namespace orv
