#include "corvane/view/alarm_message_tips.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QTextDocument>

#include "common/qt/status_bar_line.h"
#include "common/qt/template_dialog.h"
#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"

namespace {

QString fromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

AlarmMessageTips::AlarmMessageTips(TemplateDialog& window, const CCorvaneDlg& logic)
    : QObject(&window), window_(window), logic_(logic) {
  // Connected after the window's own connections, so the logic has stored the edit or
  // taken the new format before the explanation is asked for.
  for (int id : corvane_ids::kAlarmMessages) {
    if (auto* edit = qobject_cast<QLineEdit*>(window_.control(id))) {
      edit->installEventFilter(this);
      connect(edit, &QLineEdit::textEdited, this, [this] { refresh(); });
    }
  }
  for (int id : corvane_ids::kFormatButtons) {
    if (auto* button = qobject_cast<QAbstractButton*>(window_.control(id)))
      connect(button, &QAbstractButton::clicked, this, [this] { refresh(); });
  }
  refresh();
}

int AlarmMessageTips::messageNumber(const QObject* edit) const {
  for (int n = 1; n <= 8; ++n)
    if (window_.control(corvane_ids::kAlarmMessages[n - 1]) == edit) return n;
  return 0;
}

bool AlarmMessageTips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    if (int n = messageNumber(watched)) {
      if (event->type() == QEvent::FocusIn) {
        showSummary(n);
      } else {
        focusLeft(n);
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

void AlarmMessageTips::refresh() {
  for (int n = 1; n <= 8; ++n) {
    // As preformatted text: the lines stay lines, and a byte shown as <DD> is never
    // taken for markup.
    window_.control(corvane_ids::kAlarmMessages[n - 1])
        ->setToolTip(Qt::convertFromPlainText(fromUtf8(logic_.explainAlarmMessage(n).detail),
                                              Qt::WhiteSpacePre));
  }
  if (focused_ != 0 && window_.statusBar().message() == shown_) showSummary(focused_);
}

void AlarmMessageTips::showSummary(int n) {
  StatusBarLine& bar = window_.statusBar();
  if (focused_ == 0 || bar.message() != shown_) before_ = bar.message();
  focused_ = n;
  bar.show(logic_.explainAlarmMessage(n).summary);
  shown_ = bar.message();
}

void AlarmMessageTips::focusLeft(int n) {
  if (focused_ != n) return;
  StatusBarLine& bar = window_.statusBar();
  if (bar.message() == shown_) bar.show(before_.toStdString());
  focused_ = 0;
  shown_.clear();
}
