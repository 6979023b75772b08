#pragma once

#include <filesystem>
#include <memory>

#include "common/clock.h"
#include "common/qt/template_dialog.h"
#include "common/serial_port.h"
#include "common/status_line.h"
#include "halvard/halvard_dlg.h"

// Halvard's settings window: the dialog of halvardTemplate() wired to CHalvardDlg.
// The constructor builds the widgets, runs the logic's start-up and starts the 100 ms
// timer last; the destructor lets the logic close its main port. The window's own
// status line joins the status fan-out for the window's life, so every message reaches
// it as well as the lines already there (stderr).
class HalvardWindow : public TemplateDialog {
  Q_OBJECT

 public:
  // The ports, the clock and status must outlive the window. The settings files live
  // in workDir.
  HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock, StatusFanOut& status,
                const std::filesystem::path& workDir);
  ~HalvardWindow() override;

  CHalvardDlg& logic() { return *logic_; }

 private:
  StatusFanOut& status_;
  std::unique_ptr<CHalvardDlg> logic_;
};
