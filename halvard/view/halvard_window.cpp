#include "halvard/view/halvard_window.h"

#include <QLineEdit>

#include "halvard/control_ids.h"
#include "halvard/view/halvard_template.h"

HalvardWindow::HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock,
                             StatusFanOut& status, const std::filesystem::path& workDir)
    : TemplateDialog(halvardTemplate()), status_(status) {
  // The password is shown as dots, and assistive technology is told it is a password
  // field; the logic and the file still get the text as typed.
  if (auto* password = qobject_cast<QLineEdit*>(control(halvard_ids::kPassword))) {
    password->setEchoMode(QLineEdit::Password);
  }
  setWorkingFolder(QString::fromStdString(workDir.string()));
  status_.add(&statusLine());
  logic_ = std::make_unique<CHalvardDlg>(
      CHalvardDlg::Environment{mainPort, secondPort, clock, *this, status_, workDir});
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
  status_.remove(&statusLine());
}
