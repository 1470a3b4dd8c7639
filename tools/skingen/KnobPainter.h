#pragma once
// Knob strips: one frame per value, stacked vertically. The pointer travels 300 degrees, from 30
// degrees left of straight down clockwise to 30 degrees right of it, lit from the top left.
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QSize>

#include "skin/ImageInventory.h"

namespace orv {

class KnobPainter {
 public:
  static constexpr double kStartAngle = 30.0;  // degrees clockwise from straight down
  static constexpr double kTravel = 300.0;
  static constexpr int kSelectorPositions = 8;

  // The pointer of frame k of n shows the value k / (n - 1) of the travel.
  static double valueAngle(int frame, int frameCount);
  // The selector stops only at its eight positions: each frame shows the position nearest to it.
  static double selectorAngle(int frame, int frameCount);
  // The selector position (0..7) a selector frame shows.
  static int selectorPosition(int frame, int frameCount);
  // Unit vector of a dial angle, in screen coordinates (y down).
  static QPointF direction(double degrees);

  // The three strips. `visible` is the size the dials draw of each frame; the knob is centred in
  // it.
  static QImage smallStrip(const ImageInfo& info, QSize visible);
  static QImage ampStrip(const ImageInfo& info, QSize visible);
  static QImage selectorStrip(const ImageInfo& info, QSize visible);

  // Marks printed around a knob on the panel: `count` ticks over the travel, or the given angles.
  static void paintScale(QPainter& p, QPointF centre, double inner, double outer, int count,
                         const QColor& ink, double width);
  static void paintSelectorMarks(QPainter& p, QPointF centre, double radius,
                                 const QList<double>& angles, const QColor& ink);
};

}  // namespace orv
