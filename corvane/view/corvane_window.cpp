#include "corvane/view/corvane_window.h"

#include "corvane/view/corvane_template.h"

CorvaneWindow::CorvaneWindow(SerialPort& port, Clock& clock, Beep& beep, HistoryFile& history,
                             StatusLine& status, const std::filesystem::path& workDir)
    : TemplateDialog(corvaneTemplate()) {
  logic_ = std::make_unique<CCorvaneDlg>(
      CCorvaneDlg::Environment{port, clock, *this, *this, beep, history, status, workDir});
  CCorvaneDlg& dlg = *logic_;
  setHandlers(Handlers{
      [&dlg](int id) { dlg.onTextChanged(id); },
      [&dlg](int id) { dlg.onClicked(id); },
      [&dlg] { return dlg.onOk(); },
      [&dlg] { dlg.onTimer(); },
  });
  dlg.startUp();
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
