#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <filesystem>
#include <memory>

#include "common/serial_port.h"
#include "common/status_line.h"
#include "corvane/plan/plan_listener.h"
#include "corvane/plan/status_words.h"
#include "corvane/plan/test_plan.h"
#include "corvane/view/plan_window.h"

class CorvaneWindow;
class DialogAdapter;
class PlanRunner;
class SessionLogSlice;

// Runs a test plan from Corvane's window: the context menu entry "Run a test plan..."
// and Ctrl+R ask for the plan file, check it (its problems in a message box), and run
// it on the window's own dialog logic, one action after each of its ticks, as
// corvane --run does. Progress goes to the status line, verdicts to a PlanWindow. The
// window's controls keep working meanwhile; a second plan waits for the first.
class PlanLauncher : public QObject, private PlanListener {
  Q_OBJECT

 public:
  // All must outlive the launcher, which the window owns.
  PlanLauncher(CorvaneWindow& window, SerialPort& port, StatusFanOut& status,
               const std::filesystem::path& workDir, bool sessionLogged);
  ~PlanLauncher() override;

  // Checks and runs a plan file; false (and why in a message box) when it cannot run.
  bool runPlan(const QString& file);
  PlanWindow* planWindow() const { return planWindow_; }

 private:
  void choosePlan();
  void afterTick();
  void stepStarted(int step, int steps, const std::string& what) override;
  void caseStarted(const CaseResult& result) override;
  void caseFinished(const CaseResult& result, const PlanResults& results) override;
  void planFinished(const PlanResults& results) override;
  void refuse(const QString& why);

  CorvaneWindow& window_;
  SerialPort& port_;
  StatusFanOut& status_;
  StatusWords words_;
  std::filesystem::path workDir_;
  bool sessionLogged_;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  TestPlan plan_;
  std::unique_ptr<SessionLogSlice> slice_;
  std::unique_ptr<DialogAdapter> adapter_;
  std::unique_ptr<PlanRunner> runner_;
  QPointer<PlanWindow> planWindow_;
};
