#include "corvane/view/corvane_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QScreen>
#include <QLineEdit>
#include <algorithm>

#include "corvane/control_ids.h"
#include "corvane/view/alarm_message_tips.h"
#include "corvane/view/corvane_template.h"
#include "corvane/session_log.h"
#include "corvane/view/plan_launcher.h"
#include "corvane/view/session_view_window.h"

CorvaneWindow::CorvaneWindow(SerialPort& port, Clock& clock, Beep& beep, HistoryFile& history,
                             StatusFanOut& status, const std::filesystem::path& workDir,
                             SessionLog* sessionLog)
    : TemplateDialog(corvaneTemplate()), status_(status), sessionLog_(sessionLog) {
  setWorkingFolder(QString::fromStdString(workDir.string()));
  if (sessionLog_ != nullptr) {
    // Built now, so it holds the whole session when it is first opened.
    sessionView_ = new SessionViewWindow(this);
    sessionLog_->setReader([view = sessionView_](const std::vector<SessionRecord>& records) {
      view->addRecords(records);
    });
    auto* action = new QAction(tr("Session &view"), this);
    action->setObjectName(QStringLiteral("sessionViewAction"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, &CorvaneWindow::showSessionView);
    addAction(action);  // the window's context menu lists its actions
  }
  status_.add(&statusLine());
  logic_ = std::make_unique<CCorvaneDlg>(CCorvaneDlg::Environment{
      port, clock, *this, *this, beep, history, status, workDir, sessionLog});
  CCorvaneDlg& dlg = *logic_;
  setHandlers(Handlers{
      [&dlg](int id) { dlg.onTextChanged(id); },
      [&dlg](int id) { dlg.onClicked(id); },
      [&dlg] { return dlg.onOk(); },
      [&dlg] { dlg.onTimer(); },
  });
  kbdataEnter = [&dlg] { dlg.onKbdataEnter(); };
  control(corvane_ids::kKbdata)->installEventFilter(this);
  dlg.startUp();
  new AlarmMessageTips(*this, dlg);  // owned by the window
  new PlanLauncher(*this, port, status, workDir, sessionLog != nullptr);  // owned by the window
  startPollTimer(CCorvaneDlg::kPollPeriodMs);
}

CorvaneWindow::~CorvaneWindow() {
  if (sessionLog_ != nullptr) sessionLog_->setReader({});
  pollTimer().stop();
  setHandlers({});
  status_.remove(&statusLine());
}

void CorvaneWindow::showSessionView() {
  if (sessionView_ == nullptr) return;
  if (!sessionView_->isVisible()) {
    // Beside the dialog, not over it where the screen has room; always whole on screen.
    const QRect screen = this->screen()->availableGeometry();
    const QRect dialog = frameGeometry();
    QRect place(QPoint(dialog.right() + 8, dialog.top()), sessionView_->size());
    const int room = screen.right() - dialog.right() - 8;
    if (room >= 420) place.setWidth(std::min(place.width(), room));
    place.moveRight(std::min(place.right(), screen.right()));
    place.moveBottom(std::min(place.bottom(), screen.bottom()));
    place.moveTopLeft(QPoint(std::max(place.left(), screen.left()), std::max(place.top(), screen.top())));
    sessionView_->setGeometry(place);
  }
  sessionView_->show();
  sessionView_->raise();
  sessionView_->activateWindow();
}

void CorvaneWindow::runTick() {
  restartDue_ = false;
  TemplateDialog::runTick();
  if (restartDue_) restartPollTimer();
  if (afterTick) afterTick();
}

void CorvaneWindow::setText(int id, const std::string& text) {
  auto* edit = id == corvane_ids::kKbdata ? qobject_cast<QLineEdit*>(control(id)) : nullptr;
  if (edit == nullptr) {
    TemplateDialog::setText(id, text);
    return;
  }
  const QString before = edit->text();
  const int cursor = edit->cursorPosition();
  const int selectionStart = edit->selectionStart();
  const int selectionEnd = edit->selectionEnd();
  TemplateDialog::setText(id, text);
  const QString after = edit->text();
  if (after == before || !before.endsWith(after)) return;  // not keys sent from the head
  const auto shifted = [removed = before.size() - after.size()](int at) {
    return static_cast<int>(std::max<qsizetype>(0, at - removed));
  };
  const int start = shifted(selectionStart);
  const int end = shifted(selectionEnd);
  if (selectionStart >= 0 && end > start) {
    // The caret stays at the end of the selection it was at.
    if (cursor == selectionStart) edit->setSelection(end, start - end);
    else edit->setSelection(start, end - start);
  } else {
    edit->setCursorPosition(shifted(cursor));
  }
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
