#include "halvard/view/halvard_window.h"

#include "halvard/view/halvard_template.h"

HalvardWindow::HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock,
                             const std::filesystem::path& workDir)
    : TemplateDialog(halvardTemplate()) {
  logic_ = std::make_unique<CHalvardDlg>(
      CHalvardDlg::Environment{mainPort, secondPort, clock, *this, workDir});
  CHalvardDlg& dlg = *logic_;
  setHandlers(Handlers{
      [&dlg](int id) { dlg.onTextChanged(id); },
      [&dlg](int id) { dlg.onClicked(id); },
      [&dlg] { return dlg.storeControls(); },  // the standard OK: store, then close
      [&dlg] { dlg.onTimer(); },
  });
  dlg.startUp();
  startPollTimer(CHalvardDlg::kPollPeriodMs);
}

HalvardWindow::~HalvardWindow() {
  pollTimer().stop();
  setHandlers({});
  logic_->onDestroy();
}
