#include "common/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawIcon(int sizePx) {
  QPixmap pixmap(sizePx, sizePx);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(sizePx / 32.0, sizePx / 32.0);

  // The module's case.
  painter.setPen(QPen(QColor(20, 40, 80), 1.5));
  painter.setBrush(QColor(40, 90, 160));
  painter.drawRoundedRect(QRectF(2, 4, 28, 24), 4, 4);

  // A tone burst on the line.
  QPainterPath trace;
  trace.moveTo(5, 16);
  trace.lineTo(10, 16);
  trace.lineTo(12, 9);
  trace.lineTo(15, 23);
  trace.lineTo(18, 9);
  trace.lineTo(21, 23);
  trace.lineTo(23, 16);
  trace.lineTo(27, 16);
  painter.setPen(QPen(QColor(255, 230, 90), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(trace);
  return pixmap;
}

}  // namespace

QIcon appIcon() {
  QIcon icon;
  for (int sizePx : {16, 32, 48}) icon.addPixmap(drawIcon(sizePx));
  return icon;
}
