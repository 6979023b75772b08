#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/clock.h"
#include "common/history_file.h"
#include "common/qt/template_dialog.h"
#include "common/serial_port.h"
#include "common/status_line.h"
#include "corvane/beep.h"
#include "corvane/corvane_dlg.h"
#include "corvane/poll_timer.h"

// Corvane's main window: the dialog of corvaneTemplate() wired to CCorvaneDlg. The
// constructor does the whole start-up in the dialog's order: the widgets, then the
// logic's start-up (which shows its fields through the load direction), then the
// 100 ms poll timer, last.
class SessionViewWindow;

class CorvaneWindow : public TemplateDialog, private PollTimer {
  Q_OBJECT

 public:
  // port, clock, beep, history and status must outlive the window. The settings files
  // live in workDir. The window adds its own status line to status before the start-up
  // runs, so it shows every message from the first, and removes it when it goes.
  // sessionLog (may be null) must outlive it too; port is then the LoggedSerialPort
  // that fills it.
  CorvaneWindow(SerialPort& port, Clock& clock, Beep& beep, HistoryFile& history,
                StatusFanOut& status, const std::filesystem::path& workDir,
                SessionLog* sessionLog = nullptr);
  ~CorvaneWindow() override;

  CCorvaneDlg& logic() { return *logic_; }
  // The session view (context menu "Session view", Ctrl+L), fed from the session log
  // from the start; null without a session log.
  SessionViewWindow* sessionView() const { return sessionView_; }
  void showSessionView();

  // Enter or Return in kbdata (1032) while terminal mode is on: the operator means a
  // CR for the module, so the window stays open and this is called instead; it queues
  // the CR (CCorvaneDlg::onKbdataEnter). Elsewhere, and with terminal mode off, Enter
  // stores and closes as always.
  std::function<void()> kbdataEnter;
  // After each poll tick: a running test plan's next action (corvane/view/plan_launcher.h).
  std::function<void()> afterTick;

  // ControlPanel: as the dialog's, but when a tick has sent keys from the head of
  // kbdata, the operator's caret and selection stay on the keys they were on.
  void setText(int id, const std::string& text) override;

 protected:
  void runTick() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The tick asks for a restart while it runs; the period starts again when the tick
  // has ended, so a tick that pauses for a run step is followed by a full period.
  void restart() override { restartDue_ = true; }

  StatusFanOut& status_;
  SessionLog* sessionLog_;
  SessionViewWindow* sessionView_ = nullptr;  // owned by the window
  std::unique_ptr<CCorvaneDlg> logic_;
  bool restartDue_ = false;
};
