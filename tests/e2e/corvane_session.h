#pragma once

#include <QAbstractButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "common/stderr_status_line.h"
#include "common/steady_clock.h"
#include "common/termios_serial_port.h"
#include "corvane/control_ids.h"
#include "corvane/logged_serial_port.h"
#include "corvane/session_log.h"
#include "corvane/view/corvane_window.h"

// Corvane's real window and logic in this process, on the real termios port and the
// real clock, in a working directory: its start-up runs in the constructor against
// whatever the directory's port links lead to, and its poll timer runs whenever the
// test waits with waitUntil(). Its status messages go to the window's line and, as
// main.cpp sends them to stderr, to a stream the test reads back with stderrText(). The
// port is logged to ./corvane.log, as main() does.
class CorvaneSession {
 public:
  explicit CorvaneSession(const std::filesystem::path& workDir)
      : port_(workDir), history_(workDir / "zm40demohistory"),
        log_(workDir, SessionLog::steadySinceNow(), status_), logged_(port_, log_) {
    status_.add(&stderr_);
    window_ = std::make_unique<CorvaneWindow>(logged_, clock_, beep_, history_, status_, workDir,
                                              &log_);
  }

  ~CorvaneSession() {
    window_.reset();
    status_.remove(&stderr_);
    if (stderrStream_ != nullptr) std::fclose(stderrStream_);
  }
  CorvaneSession(const CorvaneSession&) = delete;
  CorvaneSession& operator=(const CorvaneSession&) = delete;

  CorvaneWindow& window() { return *window_; }
  // Every line the status line wrote to "stderr" so far: "corvane HH:MM:SS: message".
  std::string stderrText() {
    std::string text;
    if (stderrStream_ == nullptr) return text;
    std::fflush(stderrStream_);
    std::rewind(stderrStream_);
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, stderrStream_)) > 0;) {
      text.append(buffer, n);
    }
    std::fseek(stderrStream_, 0, SEEK_END);
    return text;
  }
  bool saidOnStderr(const std::string& part) {
    return stderrText().find(part) != std::string::npos;
  }
  CCorvaneDlg& logic() { return window_->logic(); }
  std::string display() { return window_->text(corvane_ids::kReceived); }
  bool shownChecked(int id) { return window_->checked(id); }
  // The option switches shown checked, in the window's order: audio status sia110 debug
  // -6db 1400hz.
  std::string switchesShown() {
    using namespace corvane_ids;
    const std::pair<int, const char*> kSwitches[] = {{kAudio, "audio"},   {kStatus, "status"},
                                                     {kSia110, "sia110"}, {kDebug, "debug"},
                                                     {kReduce6db, "-6db"}, {kTone1400, "1400hz"}};
    std::string shown;
    for (const auto& [id, name] : kSwitches) {
      if (shownChecked(id)) shown += (shown.empty() ? "" : " ") + std::string(name);
    }
    return shown;
  }
  std::string text(int id) { return window_->text(id); }

  // As the operator's click: a radio button is checked before its handler runs.
  void click(int id) {
    auto* button = qobject_cast<QAbstractButton*>(window_->control(id));
    if (button) button->click();
  }
  // As the operator's typing, one key at a time, at the end of the field.
  void type(int id, const char* keys) {
    QWidget* edit = window_->control(id);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, keys);
  }

 private:
  TermiosSerialPort port_;
  SteadyClock clock_;
  PellixBeep beep_{"libpellix-missing.so"};
  LockedHistoryFile history_;
  std::FILE* stderrStream_ = std::tmpfile();
  StderrStatusLine stderr_{"corvane", stderrStream_ != nullptr ? stderrStream_ : stderr};
  StatusFanOut status_;
  SessionLog log_;
  LoggedSerialPort logged_;
  std::unique_ptr<CorvaneWindow> window_;
};
