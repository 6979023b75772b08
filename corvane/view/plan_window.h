#pragma once

#include <QDialog>

#include "corvane/plan/plan_listener.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The verdicts of a plan run from Corvane's window: a row per case as it finishes
// (what was done, the verdict with the module's words, the time), a line saying where
// the run is, and buttons that save the same JUnit and JSON reports as corvane --run,
// or stop the run (the abort button's hang-up, as a kill of corvane --run does).
class PlanWindow : public QDialog, public PlanListener {
  Q_OBJECT

 public:
  explicit PlanWindow(const QString& planFile, QWidget* parent = nullptr);

  void stepStarted(int step, int steps, const std::string& what) override;
  void caseStarted(const CaseResult& result) override;
  void caseFinished(const CaseResult& result, const PlanResults& results) override;
  void planFinished(const PlanResults& results) override;

  QTableWidget& table() const { return *table_; }

 signals:
  void stopWanted();

 private:
  void save(bool junit);

  QLabel* where_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* stop_ = nullptr;
  PlanResults results_;
};
