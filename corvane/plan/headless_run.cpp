#include "corvane/plan/headless_run.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "common/steady_clock.h"
#include "common/stderr_status_line.h"
#include "common/termios_serial_port.h"
#include "corvane/beep.h"
#include "corvane/logged_serial_port.h"
#include "corvane/plan/dialog_adapter.h"
#include "corvane/plan/headless_corvane.h"
#include "corvane/plan/interrupt_signals.h"
#include "corvane/plan/plan_command.h"
#include "corvane/plan/plan_runner.h"
#include "corvane/plan/report_files.h"
#include "corvane/plan/session_log_slice.h"
#include "corvane/plan/status_words.h"
#include "corvane/plan/terminal_progress.h"
#include "corvane/session_log.h"

namespace fs = std::filesystem;

namespace {

std::string signalWords(int signo) {
  return signo == SIGINT ? "interrupted (SIGINT)" : signo == SIGTERM ? "terminated (SIGTERM)" : "signal " + std::to_string(signo);
}

}  // namespace

int runPlanWithoutWindow(const TestPlan& plan, const HeadlessRunFiles& files) {
  namespace is = interrupt_signals;
  is::catchInterrupts();
  const fs::path workDir = fs::current_path();
  // As corvane/main.cpp wires the window: the status line to stderr and the session log,
  // the port through the session log.
  TermiosSerialPort port(workDir);
  SteadyClock clock;
  PellixBeep beep("libpellix.so");
  StderrStatusLine toStderr("corvane");
  StatusWords words;
  StatusFanOut status;
  status.add(&toStderr);
  status.add(&words);
  SessionLog log(workDir, SessionLog::steadySinceNow(), status);
  status.add(&log.statusNotes());
  LoggedSerialPort loggedPort(port, log);

  const SessionLogSlice slice(workDir);
  TerminalProgress progress;
  ReportFiles reports(files.junit, files.json, status);
  PlanListeners listeners;
  listeners.add(&progress);
  listeners.add(&reports);
  const auto started = std::chrono::steady_clock::now();
  auto nowMs = [started] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
  };

  for (int attempt = 0;; ++attempt) {
    HeadlessCorvane corvane(loggedPort, clock, beep, status, workDir, &log);
    DialogAdapter adapter(corvane.dialog(), corvane.panel());
    PlanRunner runner(plan, {adapter, loggedPort, nowMs, listeners, [&words] { return words.take(); }, &slice});
    corvane.startUp();
    if (int signo = is::pendingSignal()) {
      // The start-up's link test has talked to the module when the port is open: the
      // abort hangs up whatever it may have started, as the button would. The reports
      // say the plan ended before its first step.
      runner.interrupt(signalWords(signo), loggedPort.isOpen());
      return 128 + signo;
    }
    const PlanRunner::Start start = runner.begin(adapter.linkBaudAtStartUp());
    if (start == PlanRunner::Start::kRestartWanted && attempt == 0) {
      // The operator's way to another port: type its name, let the tick save it, and
      // start Corvane again.
      corvane.tick();
      status.show(runner.why());
      continue;
    }
    if (start != PlanRunner::Start::kReady) {
      PlanResults none = runner.results();
      none.stopped = runner.why();
      reports.write(none);
      std::fprintf(stderr, "corvane: plan not run: %s\n", runner.why().c_str());
      return plan_exit::kUnusable;
    }
    while (!runner.finished()) {
      is::sleepUntil(corvane.nextTickDue());
      if (int signo = is::pendingSignal()) {
        runner.interrupt(signalWords(signo));
        return 128 + signo;
      }
      corvane.tick();
      runner.afterTick();
    }
    return runner.results().allPassed() ? plan_exit::kPassed : plan_exit::kFailed;
  }
}
