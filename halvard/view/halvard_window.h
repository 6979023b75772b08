#pragma once

#include <filesystem>
#include <memory>

#include "common/clock.h"
#include "common/qt/template_dialog.h"
#include "common/serial_port.h"
#include "common/status_line.h"
#include "halvard/halvard_dlg.h"
#include "halvard/test_email/mail_transport.h"
#include "halvard/test_email/test_email.h"

class QPushButton;
class QtDialogThread;
class TestEmailWindow;

// Halvard's settings window: the dialog of halvardTemplate() wired to CHalvardDlg.
// The constructor builds the widgets, runs the logic's start-up and starts the 100 ms
// timer last; the destructor lets the logic close its main port. The window's own
// status line joins the status fan-out for the window's life, so every message reaches
// it as well as the lines already there (stderr).
//
// Under the template, in a row of its own (the template's controls keep their places),
// the button "Send a test e-mail" (also Ctrl+T) sends one e-mail with the fields as
// they stand, beside the window's thread, and shows its stages in a TestEmailWindow.
class HalvardWindow : public TemplateDialog {
  Q_OBJECT

 public:
  // The ports, the clock and status must outlive the window. The settings files live
  // in workDir.
  // transport carries the test e-mails; none: libcurl with the system's trust store.
  HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock, StatusFanOut& status,
                const std::filesystem::path& workDir, std::unique_ptr<MailTransport> transport = nullptr,
                TestEmailRunOptions testOptions = {});
  ~HalvardWindow() override;

  CHalvardDlg& logic() { return *logic_; }
  TestEmail& testEmail() { return *testEmail_; }
  TestEmailWindow& testEmailWindow() { return *testEmailWindow_; }
  QPushButton& testEmailButton() { return *testEmailButton_; }

 private:
  void addTestEmailRow();

  StatusFanOut& status_;
  std::unique_ptr<CHalvardDlg> logic_;
  std::unique_ptr<MailTransport> transport_;
  QtDialogThread* dialogThread_ = nullptr;
  TestEmailWindow* testEmailWindow_ = nullptr;
  QPushButton* testEmailButton_ = nullptr;
  std::unique_ptr<TestEmail> testEmail_;
};
