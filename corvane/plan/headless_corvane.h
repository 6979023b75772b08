#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "common/clock.h"
#include "common/control_panel.h"
#include "common/history_file.h"
#include "common/serial_port.h"
#include "common/status_line.h"
#include "corvane/beep.h"
#include "corvane/corvane_dlg.h"
#include "corvane/poll_timer.h"

// The controls of Corvane's dialog without a window: each control's text and checked
// state by id, as the widgets would hold them. A notice that the window would show in
// a message box goes to the status line.
class HeadlessControlPanel : public ControlPanel {
 public:
  explicit HeadlessControlPanel(StatusLine& status) : status_(status) {}

  std::string text(int id) const override;
  void setText(int id, const std::string& text) override { texts_[id] = text; }
  bool checked(int id) const override;
  void setChecked(int id, bool on) override { checks_[id] = on; }
  void setTextLimit(int, int) override {}
  void showMessage(const std::string& message) override { status_.show(message); }
  void setFocus(int) override {}

 private:
  StatusLine& status_;
  std::map<int, std::string> texts_;
  std::map<int, bool> checks_;
};

// Corvane's dialog logic run without a window, wired as corvane/main.cpp wires the
// window: the same port (the session log's LoggedSerialPort), clock, beep, status line,
// the real "./zm40demohistory", and a 100 ms poll timer that tick() keeps in place of
// the window's. Nothing here decides what to do: the plan runner does, through the
// dialog's events.
class HeadlessCorvane : private PollTimer {
 public:
  static constexpr std::chrono::milliseconds kPollPeriod{CCorvaneDlg::kPollPeriodMs};

  // Everything given must outlive this object.
  HeadlessCorvane(SerialPort& port, Clock& clock, Beep& beep, StatusLine& status,
                  const std::filesystem::path& workDir, SessionLog* sessionLog);

  CCorvaneDlg& dialog() { return dlg_; }
  ControlPanel& panel() { return panel_; }

  // The dialog's start-up; the first tick is due a period after it.
  void startUp();
  // One poll tick. The next is due a period after the last one was due, or a period
  // after this one ended when the tick restarted the timer, as the window's timer is.
  void tick();
  std::chrono::steady_clock::time_point nextTickDue() const { return due_; }

 private:
  void restart() override { restartDue_ = true; }

  HeadlessControlPanel panel_;
  LockedHistoryFile history_;
  CCorvaneDlg dlg_;
  std::chrono::steady_clock::time_point due_;
  bool restartDue_ = false;
};
