#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "common/serial_port.h"
#include "corvane/plan/dialog_adapter.h"
#include "corvane/plan/plan_listener.h"
#include "corvane/plan/plan_results.h"
#include "corvane/plan/session_log_slice.h"
#include "corvane/plan/test_plan.h"

// Carries out a test plan on Corvane's dialog logic as an installer would at the
// window: checks the link that start-up made, sets the telephone number and the module
// options, then runs each step by typing into the edits and clicking the buttons, and
// judges every alarm from what the poll tick reads: the delivery report (delivered), a
// report line of the module's with FAIL in it or the step's failure words (failed),
// neither within the step's time (no report in time), or the port gone (port lost).
//
// It does nothing on its own: whoever ticks the dialog calls afterTick() after each
// tick, and the runner does its next action then, between two ticks, as a click
// would come. A call that has no report in time, or that was expected to give none,
// is hung up with the abort button before the plan goes on.
class PlanRunner {
 public:
  struct Parts {
    DialogAdapter& dialog;
    SerialPort& port;                           // the dialog's port: is it gone?
    std::function<std::int64_t()> nowMs;        // a steady time in milliseconds
    PlanListener& listener;
    std::function<std::string()> statusWords;   // the status line's last message
    const SessionLogSlice* sessionLog = nullptr;  // for each case's log lines; may be null
  };

  // plan and everything in parts must outlive the runner.
  PlanRunner(const TestPlan& plan, Parts parts);

  enum class Start {
    kReady,          // the module answered; afterTick() runs the plan
    kRestartWanted,  // the plan's port name was typed: Corvane must start again to use it
    kUnusable,       // no module to run the plan on; why() says what
  };
  // Is the module there, on the plan's port and at its speed? linkBaud is the speed the
  // module answered at, 0 when it did not: what start-up's link test showed
  // (DialogAdapter::linkBaudAtStartUp()), or in a window that has run for a while, the
  // speed of the open port. With port "detect" and no link, clicks "auto detect commport".
  Start begin(int linkBaud);
  const std::string& why() const { return why_; }

  // After each poll tick.
  void afterTick();
  bool finished() const { return results_.finished; }
  // Ends the run now: the abort button is clicked, as the operator would to hang up,
  // and the case under way ends interrupted, with why as its words. Without sendAbort
  // (nothing has gone to the module yet) the run only ends, and the wire stays quiet.
  void interrupt(const std::string& why, bool sendAbort = true);

  const PlanResults& results() const { return results_; }

 private:
  struct Active {
    CaseResult result;
    std::int64_t startMs = 0;
    std::optional<std::int64_t> reportMs;  // when the delivery report was read
    std::string shown;                     // what the display gained since the click
  };

  void setUpModule();
  void startNextStep();
  // message: 1-based in a multiple run, else 0; name: for a case that is no step's.
  void startCase(int message, const char* name = nullptr);
  void sendAlarm();
  void sendMultipleRun();
  void judge(const DialogAdapter::TickNews& news);
  void judgeDelivered(std::int64_t elapsed, bool delivered, const std::string& failure);
  void finishCase(Verdict verdict, bool passed, const std::string& words, std::int64_t elapsedMs);
  // A run meant to fail or to go unanswered: the messages delivered on the way pass,
  // the one that meets the expected end passes and ends the run, and those never sent
  // after it pass as "done". A run that delivers its last message has not ended so.
  void judgeRunEnd(std::int64_t elapsed, bool delivered, const std::string& failure);
  // The run's messages after the last case, never sent: failed, or done asExpected.
  void failRestOfRun(const std::string& why, bool asExpected = false);
  void stop(const std::string& why);
  void selectFormat(AlarmFormat format);
  void typeIfDifferent(int id, const std::string& text);
  bool portLost() const;
  // The module's failure report among the whole lines shown, from its failure word on.
  std::string failureLine(const std::string& shown) const;
  const PlanStep& step() const { return plan_.steps[static_cast<std::size_t>(stepIndex_)]; }

  const TestPlan& plan_;
  Parts parts_;
  PlanResults results_;
  std::string why_;
  bool moduleSetUp_ = false;
  int stepIndex_ = -1;
  int repetition_ = 0;
  std::optional<Active> active_;
  std::optional<std::int64_t> pauseUntilMs_;
  std::uintmax_t logMark_ = 0;
};
