#pragma once
// The 800 x 600 panel of one model family. Everything on it is placed from the layout table.
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace orv {

struct FamilyStyle;

class PanelPainter {
 public:
  explicit PanelPainter(const FamilyStyle& style);

  // The panel without the prints that pictures and lit labels stand in for: the amplifier-type
  // names, the cabinet caption and the first amplifier knob's caption.
  QImage plain() const;
  // The finished background: `plain` with those prints.
  QImage finished(const QImage& plain) const;

  void printAmpTypeNames(QPainter& p) const;
  // The cabinet caption; `available` false prints it dimmed (no cabinet for the chosen type).
  void printCabinetCaption(QPainter& p, bool available) const;
  void printFirstKnobCaption(QPainter& p, const QString& text) const;

  // Where a dial's knob sits on the panel: its rectangle's corner plus the strip's centre.
  static QPointF knobCentre(int dialId);

 private:
  void paintPlates(QPainter& p) const;
  void paintTrim(QPainter& p) const;
  void paintLogo(QPainter& p) const;
  void paintLibrary(QPainter& p) const;
  void paintAmplifier(QPainter& p) const;
  void paintRosette(QPainter& p, QPointF centre) const;
  void paintSections(QPainter& p) const;
  void paintVent(QPainter& p) const;
  void paintScrews(QPainter& p) const;
  void printCaption(QPainter& p, double centreX, double baseline, const QString& text,
                    const QColor& ink, double relief) const;

  const FamilyStyle& style_;
};

}  // namespace orv
