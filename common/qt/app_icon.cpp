#include "common/qt/app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

enum class Program { kCorvane, kHalvard, kZmsim };

Program programFor(const QString& name) {
  if (name.compare(QStringLiteral("halvard"), Qt::CaseInsensitive) == 0) return Program::kHalvard;
  if (name.compare(QStringLiteral("zmsim"), Qt::CaseInsensitive) == 0) return Program::kZmsim;
  return Program::kCorvane;
}

// The drawings are in a 32-unit square; packaging/icons/<program>.svg draws the same.
void drawCase(QPainter& painter, QColor edge, QColor face) {
  painter.setPen(QPen(edge, 1.5));
  painter.setBrush(face);
  painter.drawRoundedRect(QRectF(2, 4, 28, 24), 4, 4);
}

void drawToneBurst(QPainter& painter, QColor colour) {
  QPainterPath trace;
  trace.moveTo(5, 16);
  trace.lineTo(10, 16);
  trace.lineTo(12, 9);
  trace.lineTo(15, 23);
  trace.lineTo(18, 9);
  trace.lineTo(21, 23);
  trace.lineTo(23, 16);
  trace.lineTo(27, 16);
  painter.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(trace);
}

void drawEnvelope(QPainter& painter) {
  const QColor ink(20, 60, 30);
  painter.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(QColor(250, 250, 240));
  painter.drawRect(QRectF(7, 10, 18, 12));
  QPainterPath flap;
  flap.moveTo(7, 10);
  flap.lineTo(16, 17);
  flap.lineTo(25, 10);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(flap);
}

}  // namespace

QPixmap drawAppIcon(const QString& program, int sizePx) {
  QPixmap pixmap(sizePx, sizePx);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(sizePx / 32.0, sizePx / 32.0);
  switch (programFor(program)) {
    case Program::kCorvane:
      drawCase(painter, QColor(20, 40, 80), QColor(40, 90, 160));
      drawToneBurst(painter, QColor(255, 230, 90));
      break;
    case Program::kHalvard:
      drawCase(painter, QColor(20, 60, 30), QColor(50, 140, 70));
      drawEnvelope(painter);
      break;
    case Program::kZmsim:
      drawCase(painter, QColor(50, 50, 55), QColor(120, 124, 130));
      drawToneBurst(painter, QColor(140, 240, 170));
      break;
  }
  return pixmap;
}

QIcon appIcon(const QString& program) {
  QIcon icon;
  for (int sizePx : {16, 32, 48}) icon.addPixmap(drawAppIcon(program, sizePx));
  return icon;
}
