#pragma once

#include <filesystem>
#include <memory>

#include "common/clock.h"
#include "common/qt/template_dialog.h"
#include "common/serial_port.h"
#include "halvard/halvard_dlg.h"

// Halvard's settings window: the dialog of halvardTemplate() wired to CHalvardDlg.
// The constructor builds the widgets, runs the logic's start-up and starts the 100 ms
// timer last; the destructor lets the logic close its main port.
class HalvardWindow : public TemplateDialog {
  Q_OBJECT

 public:
  // The ports and the clock must outlive the window. The settings files live in workDir.
  HalvardWindow(SerialPort& mainPort, SerialPort& secondPort, Clock& clock,
                const std::filesystem::path& workDir);
  ~HalvardWindow() override;

  CHalvardDlg& logic() { return *logic_; }

 private:
  std::unique_ptr<CHalvardDlg> logic_;
};
