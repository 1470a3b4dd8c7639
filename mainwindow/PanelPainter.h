#pragma once
#include <QFont>
#include <QImage>
#include <QString>

class QPainter;
class QRect;

namespace orv {

class PanelControls;

// Paints the panel: the background at 1:1, then the controls that do not paint themselves in
// this order: amplifier-type knob; pictures 1095, 1096, 1097, 1099, 1100; the five amplifier
// knobs; the ratio scale 1276; the knobs of compressor, effect, delay, reverb and gate; the list's
// scroll bar; then the section labels' texts (white, transparent) and, when asked, the patch name
// centred over its edit box. Buttons, pull-downs, number displays, the list and the edit box
// paint themselves on top.
class PanelPainter {
 public:
  explicit PanelPainter(const PanelControls& controls) : controls_(controls) {}

  void setBackground(int imageId);
  int background() const { return backgroundId_; }
  void setLabelFont(const QFont& font) { labelFont_ = font; }
  void setNameFont(const QFont& font) { nameFont_ = font; }
  // Model '3' has no High Cut and Low Cut labels on the delay.
  void setModelCode(char model) { model_ = model; }
  // The patch name drawn centred over the edit box (which then hides its own text) until the
  // user turns to the edit box.
  void setCentredName(const QString& name);
  void clearCentredName() { nameCentred_ = false; }
  bool nameCentred() const { return nameCentred_; }

  void paint(QPainter& painter, const QRect& exposed);

 private:
  void drawControls(QPainter& painter, const QRect& exposed) const;
  void drawLabelTexts(QPainter& painter, const QRect& exposed) const;
  void drawName(QPainter& painter) const;

  const PanelControls& controls_;
  QImage background_;
  int backgroundId_ = 0;
  QFont labelFont_;
  QFont nameFont_;
  char model_ = '0';
  QString name_;
  bool nameCentred_ = false;
};

}  // namespace orv
