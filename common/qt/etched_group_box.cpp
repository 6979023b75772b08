#include "common/qt/etched_group_box.h"

#include <QPainter>

namespace {

constexpr int kCaptionIndentPx = 8;
constexpr int kCaptionPaddingPx = 2;

}  // namespace

EtchedGroupBox::EtchedGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void EtchedGroupBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFontMetrics metrics = fontMetrics();
  // An etched line: a dark rectangle with a light one just inside and below it.
  QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame.adjusted(0, 0, -2, -2));
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.adjusted(1, 1, -1, -1));

  if (title().isEmpty()) return;
  int textWidth = metrics.horizontalAdvance(title());
  QRect caption(kCaptionIndentPx, 0, textWidth + 2 * kCaptionPaddingPx, metrics.height());
  caption = caption.intersected(rect());
  painter.fillRect(caption, palette().brush(backgroundRole()));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(caption.adjusted(kCaptionPaddingPx, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   title());
}
