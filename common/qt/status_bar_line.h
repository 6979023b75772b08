#pragma once

#include <QLabel>
#include <string>

#include "common/status_line.h"

// The one-line status line under a dialog (accessible name "status"). It shows the
// newest message, elided at the right when the window is too narrow for it, with the
// whole message in its tooltip; the operator can select the text to copy it. The
// message is UTF-8, as paths and device names are on Linux.
class StatusBarLine : public QLabel, public StatusLine {
  Q_OBJECT

 public:
  explicit StatusBarLine(QWidget* parent);

  // StatusLine: shows the message. QWidget::show() stays reachable beside it.
  void show(const std::string& message) override;
  using QLabel::show;
  QString message() const { return message_; }

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();

  QString message_;
};
