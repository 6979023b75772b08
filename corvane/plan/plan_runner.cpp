#include "corvane/plan/plan_runner.h"

#include "corvane/control_ids.h"
#include "corvane/state/alarm_outcome.h"

using namespace corvane_ids;

namespace {

// A soak's passed repetitions beyond these keep no log lines of their own in the
// results: the reports, rewritten after every case, would otherwise grow with the
// square of the repetitions. Every failed case keeps its lines.
constexpr int kLoggedRepetitions = 10;

struct OptionSwitch {
  std::optional<bool> PlanOptions::*wanted;
  int id;
  const char* name;
};

constexpr OptionSwitch kSwitches[] = {
    {&PlanOptions::audio, kAudio, "audio"},
    {&PlanOptions::statusMessages, kStatus, "status_messages"},
    {&PlanOptions::debugMessages, kDebug, "debug_messages"},
    {&PlanOptions::sia110Baud, kSia110, "sia_110_baud"},
    {&PlanOptions::reduce6db, kReduce6db, "reduce_6db"},
    {&PlanOptions::tone1400, kTone1400, "tone_hz"},
};

std::string expectedWords(const Expectation& e) {
  const std::string within = std::to_string(e.withinSeconds) + " s";
  switch (e.outcome) {
    case Expectation::Outcome::kDelivered: return "delivered within " + within;
    case Expectation::Outcome::kFailed:
      return (e.failureText.empty() ? std::string("a failure report") : "a failure report with \"" + e.failureText + "\"") +
             " within " + within;
    case Expectation::Outcome::kNoReport: return "no report for " + within;
  }
  return {};
}

bool hasOptions(const TestPlan& plan) {
  const PlanOptions& o = plan.options;
  for (const OptionSwitch& sw : kSwitches)
    if (o.*sw.wanted) return true;
  return o.dialerTimeout || o.kissoffTime || plan.telephone;
}

}  // namespace

PlanRunner::PlanRunner(const TestPlan& plan, Parts parts) : plan_(plan), parts_(std::move(parts)) {
  results_.planFile = plan.file;
  results_.stepCount = static_cast<int>(plan.steps.size());
}

PlanRunner::Start PlanRunner::begin(int linkBaud) {
  DialogAdapter& dialog = parts_.dialog;
  int baud = linkBaud;
  if (plan_.port == TestPlan::kDetectPort) {
    if (baud == 0) {
      dialog.click(kDetectPort);
      if (!dialog.portDetected()) {
        why_ = "no module answered on COM1: to COM9: at 115200 baud (" + parts_.statusWords() + ")";
        return Start::kUnusable;
      }
      baud = parts_.port.baud();
    }
  } else {
    if (dialog.shownText(kCommport) != plan_.port) {
      // As the operator does: the name typed into "commport" is saved by the next tick
      // and used from the next start of the program.
      dialog.typeText(kCommport, plan_.port);
      why_ = plan_.port + " is saved in ./commport; Corvane uses it from its next start";
      return Start::kRestartWanted;
    }
    if (baud == 0) {
      why_ = "no module answered on " + plan_.port + " (" + parts_.statusWords() + ")";
      return Start::kUnusable;
    }
  }
  if (plan_.speed && *plan_.speed != baud) {
    why_ = "the module answered at " + std::to_string(baud) + " baud, the plan wants " +
           std::to_string(*plan_.speed);
    return Start::kUnusable;
  }
  parts_.dialog.look();  // from here on, each look tells what a tick changed
  return Start::kReady;
}

void PlanRunner::afterTick() {
  if (results_.finished) return;
  const DialogAdapter::TickNews news = parts_.dialog.look();
  if (active_) {
    if (portLost()) {
      const std::string words = parts_.statusWords();
      finishCase(Verdict::kPortLost, false, words, parts_.nowMs() - active_->startMs);
      failRestOfRun("not sent: the port was lost");
      stop("port lost: " + words);
      return;
    }
    judge(news);
    if (active_) return;
  }
  if (pauseUntilMs_) {
    if (parts_.nowMs() < *pauseUntilMs_) return;
    pauseUntilMs_.reset();
  }
  if (portLost()) {
    stop("port lost: " + parts_.statusWords());
    return;
  }
  if (!moduleSetUp_) {
    moduleSetUp_ = true;
    setUpModule();
    return;  // the dialer time-out goes out with the next tick
  }
  startNextStep();
}

void PlanRunner::interrupt(const std::string& why, bool sendAbort) {
  if (results_.finished) return;
  if (sendAbort) parts_.dialog.click(kAbort);
  if (active_) {
    finishCase(Verdict::kInterrupted, false, why, parts_.nowMs() - active_->startMs);
    failRestOfRun("not sent: " + why);
  }
  stop(why);
}

void PlanRunner::setUpModule() {
  if (!hasOptions(plan_)) return;
  startCase(0, "module options");
  DialogAdapter& dialog = parts_.dialog;
  if (plan_.telephone) typeIfDifferent(kTelephoneNumber, *plan_.telephone);
  std::string wrong;
  for (const OptionSwitch& sw : kSwitches) {
    const std::optional<bool>& wanted = plan_.options.*sw.wanted;
    if (!wanted) continue;
    // A click flips the module's bit; the switch then shows what the module has.
    if (dialog.shownChecked(sw.id) != *wanted) dialog.click(sw.id);
    if (dialog.shownChecked(sw.id) != *wanted) wrong += std::string(wrong.empty() ? "" : ", ") + sw.name;
  }
  if (plan_.options.dialerTimeout) typeIfDifferent(kDialerTimeout, *plan_.options.dialerTimeout);
  if (plan_.options.kissoffTime) typeIfDifferent(kKissoffTime, *plan_.options.kissoffTime);
  finishCase(Verdict::kDone, wrong.empty(), wrong.empty() ? "" : "not as the plan sets: " + wrong, 0);
}

void PlanRunner::startNextStep() {
  const bool repeats = stepIndex_ >= 0 && (step().kind == PlanStep::Kind::kAlarm ||
                                           step().kind == PlanStep::Kind::kMultipleRun);
  if (repeats && repetition_ < step().repeat) {
    ++repetition_;
  } else {
    ++stepIndex_;
    repetition_ = 1;
    if (stepIndex_ >= static_cast<int>(plan_.steps.size())) {
      results_.finished = true;
      parts_.listener.planFinished(results_);
      return;
    }
    parts_.listener.stepStarted(stepIndex_, results_.stepCount, describeStep(step()));
  }
  switch (step().kind) {
    case PlanStep::Kind::kAlarm: sendAlarm(); break;
    case PlanStep::Kind::kMultipleRun: sendMultipleRun(); break;
    case PlanStep::Kind::kFactoryDefaults:
      startCase(0);
      parts_.dialog.click(kFactoryDefault);
      if (portLost()) finishCase(Verdict::kPortLost, false, parts_.statusWords(), parts_.nowMs() - active_->startMs);
      else finishCase(Verdict::kDone, true, "", parts_.nowMs() - active_->startMs);
      break;
    case PlanStep::Kind::kPause: pauseUntilMs_ = parts_.nowMs() + step().pauseSeconds * 1000LL; break;
  }
}

void PlanRunner::startCase(int message, const char* name) {
  // A case's words are what the status line says while it runs: what start-up and the
  // cases before it said would only bury why this one failed.
  parts_.statusWords();
  Active a;
  CaseResult& r = a.result;
  if (name != nullptr) {
    r.name = name;
    r.expected = "the switches and edits as the plan sets them";
  }
  r.step = stepIndex_;
  r.repetition = repetition_;
  r.message = message;
  if (name == nullptr && stepIndex_ >= 0) {
    const PlanStep& s = step();
    r.name = "step " + std::to_string(stepIndex_ + 1) + ": " + describeStep(s);
    if (message > 0) {
      r.name += ", message " + std::to_string(message) + " " +
                shownMessage(s.messages[static_cast<std::size_t>(message - 1)]);
    }
    if (s.repeat > 1) r.name += " (" + std::to_string(repetition_) + " of " + std::to_string(s.repeat) + ")";
    if (s.kind == PlanStep::Kind::kAlarm || s.kind == PlanStep::Kind::kMultipleRun) r.expected = expectedWords(s.expect);
  }
  a.startMs = parts_.nowMs();
  if (parts_.sessionLog != nullptr) logMark_ = parts_.sessionLog->mark();
  active_ = std::move(a);
  parts_.listener.caseStarted(active_->result);
}

void PlanRunner::sendAlarm() {
  const PlanStep& s = step();
  selectFormat(s.format);
  typeIfDifferent(kAlarmMessage1, s.messages.front());
  startCase(0);
  parts_.dialog.click(kTransmit);
}

void PlanRunner::sendMultipleRun() {
  const PlanStep& s = step();
  selectFormat(s.format);
  for (std::size_t i = 0; i < s.messages.size(); ++i) typeIfDifferent(kAlarmMessages[i], s.messages[i]);
  // The run ends at the first empty message file after the plan's messages.
  if (s.messages.size() < std::size(kAlarmMessages)) typeIfDifferent(kAlarmMessages[s.messages.size()], "");
  startCase(1);
  parts_.dialog.click(kMultipleRun);
}

void PlanRunner::judge(const DialogAdapter::TickNews& news) {
  Active& a = *active_;
  const std::int64_t now = parts_.nowMs();
  a.shown += news.shown;
  if (news.reportRead && !a.reportMs) a.reportMs = now;
  const std::int64_t elapsed = now - a.startMs;
  const std::string failure = failureLine(a.shown);
  const Expectation& e = step().expect;
  const bool late = elapsed > e.withinSeconds * 1000LL;
  const std::int64_t deliveredAfter = a.reportMs.value_or(now) - a.startMs;

  if (step().kind == PlanStep::Kind::kMultipleRun && e.outcome != Expectation::Outcome::kDelivered) {
    judgeRunEnd(elapsed, news.deliveryActedOn, failure);
    return;
  }
  switch (e.outcome) {
    case Expectation::Outcome::kDelivered:
      judgeDelivered(elapsed, news.deliveryActedOn, failure);
      return;
    case Expectation::Outcome::kFailed:
      if (!failure.empty()) {
        finishCase(Verdict::kFailed, failure.find(e.failureText) != std::string::npos, failure, elapsed);
      } else if (news.deliveryActedOn) {
        finishCase(Verdict::kDelivered, false, "", deliveredAfter);
      } else if (late) {
        parts_.dialog.click(kAbort);
        finishCase(Verdict::kNoReport, false, "", elapsed);
      }
      return;
    case Expectation::Outcome::kNoReport:
      if (news.deliveryActedOn) {
        finishCase(Verdict::kDelivered, false, "", deliveredAfter);
      } else if (!failure.empty()) {
        finishCase(Verdict::kFailed, false, failure, elapsed);
      } else if (elapsed >= e.withinSeconds * 1000LL) {
        parts_.dialog.click(kAbort);
        finishCase(Verdict::kNoReport, true, "", elapsed);
      }
      return;
  }
}

void PlanRunner::judgeDelivered(std::int64_t elapsed, bool delivered, const std::string& failure) {
  Active& a = *active_;
  const PlanStep& s = step();
  if (delivered) {
    const int message = a.result.message;
    finishCase(Verdict::kDelivered, true, "", a.reportMs.value_or(parts_.nowMs()) - a.startMs);
    // The tick that saw the delivery has sent the run's next message already.
    if (message > 0 && message < static_cast<int>(s.messages.size())) startCase(message + 1);
    return;
  }
  if (!failure.empty()) {
    finishCase(Verdict::kFailed, false, failure, elapsed);
    failRestOfRun("not sent: the run stopped at a failure");
  } else if (elapsed > s.expect.withinSeconds * 1000LL) {
    parts_.dialog.click(kAbort);
    finishCase(Verdict::kNoReport, false, "", elapsed);
    failRestOfRun("not sent: the run stopped without a report");
  }
}

void PlanRunner::judgeRunEnd(std::int64_t elapsed, bool delivered, const std::string& failure) {
  Active& a = *active_;
  const PlanStep& s = step();
  const Expectation& e = s.expect;
  const int message = a.result.message;
  if (delivered) {
    const bool last = message >= static_cast<int>(s.messages.size());
    finishCase(Verdict::kDelivered, !last, last ? "the run delivered every message" : "",
               a.reportMs.value_or(parts_.nowMs()) - a.startMs);
    if (!last) startCase(message + 1);
    return;
  }
  bool meant = false;
  if (!failure.empty()) {
    meant = e.outcome == Expectation::Outcome::kFailed && failure.find(e.failureText) != std::string::npos;
    finishCase(Verdict::kFailed, meant, failure, elapsed);
  } else if (elapsed > e.withinSeconds * 1000LL) {
    parts_.dialog.click(kAbort);
    meant = e.outcome == Expectation::Outcome::kNoReport;
    finishCase(Verdict::kNoReport, meant, "", elapsed);
  } else {
    return;
  }
  if (meant) failRestOfRun("not sent: the run ended as the plan expects", true);
  else failRestOfRun(failure.empty() ? "not sent: the run stopped without a report" : "not sent: the run stopped at a failure");
}

void PlanRunner::finishCase(Verdict verdict, bool passed, const std::string& words, std::int64_t elapsedMs) {
  CaseResult result = std::move(active_->result);
  active_.reset();
  result.verdict = verdict;
  result.passed = passed;
  result.words = words;
  result.elapsedMs = elapsedMs;
  if (parts_.sessionLog != nullptr) {
    result.log = passed && result.repetition > kLoggedRepetitions
                     ? "passed; its lines are in ./corvane.log\n"
                     : parts_.sessionLog->since(logMark_);
  }
  results_.cases.push_back(std::move(result));
  parts_.listener.caseFinished(results_.cases.back(), results_);
}

void PlanRunner::failRestOfRun(const std::string& why, bool asExpected) {
  if (results_.cases.empty() || stepIndex_ < 0) return;
  const int last = results_.cases.back().message;
  if (last == 0) return;
  for (int m = last + 1; m <= static_cast<int>(step().messages.size()); ++m) {
    startCase(m);
    finishCase(asExpected ? Verdict::kDone : Verdict::kNoReport, asExpected, why, 0);
  }
}

void PlanRunner::stop(const std::string& why) {
  results_.stopped = why;
  results_.finished = true;
  parts_.listener.planFinished(results_);
}

void PlanRunner::selectFormat(AlarmFormat format) {
  const int id = formatInfo(format).buttonId;
  if (!parts_.dialog.shownChecked(id)) parts_.dialog.click(id);
}

void PlanRunner::typeIfDifferent(int id, const std::string& text) {
  if (parts_.dialog.shownText(id) != text) parts_.dialog.typeText(id, text);
}

bool PlanRunner::portLost() const {
  return !parts_.port.isOpen() && parts_.port.problem().kind == PortProblem::Kind::kGone;
}

std::string PlanRunner::failureLine(const std::string& shown) const {
  // The display shows what a click sent without a line end after it, so the module's
  // words are taken from the failure word on.
  return AlarmOutcome::failureLine(shown, step().expect.failureText);
}
