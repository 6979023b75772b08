#include "corvane/view/corvane_window.h"

#include <QKeyEvent>

#include "corvane/control_ids.h"
#include "corvane/view/alarm_message_tips.h"
#include "corvane/view/corvane_template.h"

CorvaneWindow::CorvaneWindow(SerialPort& port, Clock& clock, Beep& beep, HistoryFile& history,
                             StatusLine& status, const std::filesystem::path& workDir,
                             SessionLog* sessionLog)
    : TemplateDialog(corvaneTemplate()) {
  logic_ = std::make_unique<CCorvaneDlg>(CCorvaneDlg::Environment{
      port, clock, *this, *this, beep, history, status, workDir, sessionLog});
  CCorvaneDlg& dlg = *logic_;
  setHandlers(Handlers{
      [&dlg](int id) { dlg.onTextChanged(id); },
      [&dlg](int id) { dlg.onClicked(id); },
      [&dlg] { return dlg.onOk(); },
      [&dlg] { dlg.onTimer(); },
  });
  control(corvane_ids::kKbdata)->installEventFilter(this);
  dlg.startUp();
  new AlarmMessageTips(*this, dlg);  // owned by the window
  startPollTimer(CCorvaneDlg::kPollPeriodMs);
}

CorvaneWindow::~CorvaneWindow() {
  pollTimer().stop();
  setHandlers({});
}

void CorvaneWindow::runTick() {
  restartDue_ = false;
  TemplateDialog::runTick();
  if (restartDue_) restartPollTimer();
}

bool CorvaneWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == control(corvane_ids::kKbdata) && event->type() == QEvent::KeyPress &&
      logic_->terminalSelected == 0) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (kbdataEnter) kbdataEnter();
      return true;  // never reaches the dialog's Enter, which would close it
    }
  }
  return TemplateDialog::eventFilter(watched, event);
}
