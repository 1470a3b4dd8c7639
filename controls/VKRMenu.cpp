#include "controls/VKRMenu.h"

#include <QPainter>
#include <algorithm>

#include "controls/Colors.h"

namespace orv {

namespace {
constexpr int kTextMargin = 4;
}

CVKRMenu::CVKRMenu(QWidget* parent) : QMenu(parent) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
}

CVKRMenu::~CVKRMenu() = default;

void CVKRMenu::SetItemFont(const std::optional<QFont>& font) {
  m_font = font;
  if (m_font) setFont(*m_font);
}

QSize CVKRMenu::sizeHint() const {
  QSize size = QMenu::sizeHint();
  const QFontMetrics metrics(m_font ? *m_font : font());
  int widest = 0;
  for (const QAction* action : actions())
    widest = std::max(widest, metrics.horizontalAdvance(action->text()));
  size.setWidth(std::max(kMinimumWidth, widest + 2 * kTextMargin));
  return size;
}

void CVKRMenu::DrawItem(QPainter& painter, const QRect& rect, const QString& text,
                        bool selected) const {
  painter.fillRect(rect, selected ? kAmber : QColor(Qt::black));
  painter.setPen(selected ? QColor(Qt::black) : kAmber);
  painter.drawText(rect.adjusted(kTextMargin, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void CVKRMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (m_font) painter.setFont(*m_font);
  for (QAction* action : actions()) {
    QRect item = actionGeometry(action);
    if (item.isEmpty()) continue;
    item.setLeft(0);
    item.setRight(width() - 1);
    DrawItem(painter, item, action->text(), action == activeAction());
  }
}

}  // namespace orv
