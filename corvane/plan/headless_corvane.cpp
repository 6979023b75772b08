#include "corvane/plan/headless_corvane.h"

std::string HeadlessControlPanel::text(int id) const {
  auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

bool HeadlessControlPanel::checked(int id) const {
  auto it = checks_.find(id);
  return it != checks_.end() && it->second;
}

HeadlessCorvane::HeadlessCorvane(SerialPort& port, Clock& clock, Beep& beep, StatusLine& status,
                                 const std::filesystem::path& workDir, SessionLog* sessionLog)
    : panel_(status),
      history_(workDir / "zm40demohistory"),
      dlg_(CCorvaneDlg::Environment{port, clock, panel_, *this, beep, history_, status, workDir, sessionLog}) {}

void HeadlessCorvane::startUp() {
  dlg_.startUp();
  due_ = std::chrono::steady_clock::now() + kPollPeriod;
}

void HeadlessCorvane::tick() {
  restartDue_ = false;
  dlg_.onTimer();
  const auto now = std::chrono::steady_clock::now();
  if (restartDue_) {
    due_ = now + kPollPeriod;
    return;
  }
  due_ += kPollPeriod;
  // A tick that ran long (a run step's pauses) is followed by one at once, not by a
  // burst that catches up.
  if (due_ < now) due_ = now;
}
