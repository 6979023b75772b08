#include "corvane/view/plan_launcher.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>

#include "corvane/plan/dialog_adapter.h"
#include "corvane/plan/plan_checker.h"
#include "corvane/plan/plan_parser.h"
#include "corvane/plan/plan_runner.h"
#include "corvane/plan/session_log_slice.h"
#include "corvane/plan/terminal_progress.h"
#include "corvane/view/corvane_window.h"
#include "corvane/view/plan_window.h"

PlanLauncher::PlanLauncher(CorvaneWindow& window, SerialPort& port, StatusFanOut& status,
                           const std::filesystem::path& workDir, bool sessionLogged)
    : QObject(&window), window_(window), port_(port), status_(status), workDir_(workDir), sessionLogged_(sessionLogged) {
  status_.add(&words_);
  auto* action = new QAction(tr("Run a test &plan..."), &window);
  action->setObjectName(QStringLiteral("runPlanAction"));
  action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  action->setShortcutContext(Qt::WindowShortcut);
  connect(action, &QAction::triggered, this, &PlanLauncher::choosePlan);
  window.addAction(action);  // the window's context menu lists its actions
}

PlanLauncher::~PlanLauncher() {
  window_.afterTick = nullptr;
  status_.remove(&words_);
}

void PlanLauncher::choosePlan() {
  const QString file = QFileDialog::getOpenFileName(&window_, tr("Run a test plan"), QString(),
                                                    tr("Test plans (*.toml);;All files (*)"));
  if (!file.isEmpty()) runPlan(file);
}

bool PlanLauncher::runPlan(const QString& file) {
  if (runner_ && !runner_->finished()) {
    refuse(tr("A plan is running: stop it before another one starts."));
    return false;
  }
  const std::string path = file.toStdString();
  const ParsedPlan parsed = parsePlanFile(path);
  const PlanProblems problems = parsed.ok() ? checkPlan(parsed.plan).problems : parsed.problems;
  if (!problems.empty()) {
    QString text;
    for (const PlanProblem& p : problems) text += QString::fromStdString(formatProblem(path, p)) + "\n";
    refuse(text.trimmed());
    return false;
  }
  plan_ = parsed.plan;
  words_.take();
  adapter_ = std::make_unique<DialogAdapter>(window_.logic(), window_);
  slice_ = sessionLogged_ ? std::make_unique<SessionLogSlice>(workDir_) : nullptr;
  auto nowMs = [this] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_).count();
  };
  runner_ = std::make_unique<PlanRunner>(
      plan_, PlanRunner::Parts{*adapter_, port_, nowMs, *this, [this] { return words_.take(); }, slice_.get()});
  // The window has run for a while: the link is the port as it stands.
  const PlanRunner::Start start = runner_->begin(port_.isOpen() ? port_.baud() : 0);
  if (start != PlanRunner::Start::kReady) {
    const QString why = QString::fromStdString(runner_->why());
    runner_.reset();
    refuse(start == PlanRunner::Start::kRestartWanted ? why + tr(": start Corvane again, then run the plan.") : why);
    return false;
  }
  planWindow_ = new PlanWindow(file, &window_);
  connect(planWindow_, &PlanWindow::stopWanted, this, [this] {
    if (runner_) runner_->interrupt("stopped by the operator");
  });
  planWindow_->show();
  window_.afterTick = [this] { afterTick(); };
  status_.show("plan " + path + ": started");
  return true;
}

void PlanLauncher::afterTick() {
  if (runner_ && !runner_->finished()) runner_->afterTick();
}

void PlanLauncher::stepStarted(int step, int steps, const std::string& what) {
  status_.show("plan: step " + std::to_string(step + 1) + " of " + std::to_string(steps) + ": " + what);
  if (planWindow_) planWindow_->stepStarted(step, steps, what);
}

void PlanLauncher::caseStarted(const CaseResult& result) {
  if (planWindow_) planWindow_->caseStarted(result);
}

void PlanLauncher::caseFinished(const CaseResult& result, const PlanResults& results) {
  status_.show("plan: " + result.name + ": " + verdictWords(result.verdict) +
               (result.words.empty() ? "" : " (" + result.words + ")") + " after " + secondsText(result.elapsedMs));
  if (planWindow_) planWindow_->caseFinished(result, results);
}

void PlanLauncher::planFinished(const PlanResults& results) {
  const std::string summary = summaryTable(results);
  const std::size_t last = summary.rfind('\n', summary.size() - 2);
  std::string outcome = summary.substr(last == std::string::npos ? 0 : last + 1);
  if (!outcome.empty() && outcome.back() == '\n') outcome.pop_back();
  status_.show(outcome);
  if (planWindow_) planWindow_->planFinished(results);
}

void PlanLauncher::refuse(const QString& why) {
  status_.show("plan not run: " + why.toStdString());
  QMessageBox::warning(&window_, tr("Test plan"), why);
}
