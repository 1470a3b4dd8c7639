#include "mainwindow/PanelSurface.h"

#include <QPaintEvent>
#include <QPainter>

namespace orv {

PanelSurface::PanelSurface(QWidget* parent) : QWidget(parent) {
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
}

void PanelSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setClipRegion(event->region());
  if (painter_) painter_(p, event->rect());
}

}  // namespace orv
