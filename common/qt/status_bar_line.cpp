#include "common/qt/status_bar_line.h"

#include <QResizeEvent>

StatusBarLine::StatusBarLine(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("status"));
  setAccessibleName(QStringLiteral("status"));
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setTextInteractionFlags(Qt::TextSelectableByMouse);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  setContentsMargins(4, 1, 4, 1);
  // Holds its one line even while it is empty, so the first message moves nothing.
  setMinimumHeight(minimumSizeHint().height());
}

QSize StatusBarLine::minimumSizeHint() const {
  QMargins m = contentsMargins();
  return {0, fontMetrics().height() + m.top() + m.bottom()};
}

void StatusBarLine::show(const std::string& message) {
  // A message is one line; a line end inside one would hide the rest of it.
  message_ = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()))
                 .simplified();
  setToolTip(message_);
  elide();
}

void StatusBarLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void StatusBarLine::elide() {
  int room = contentsRect().width();
  QString shown = fontMetrics().elidedText(message_, Qt::ElideRight, room > 0 ? room : 0);
  if (shown != text()) setText(shown);
}
