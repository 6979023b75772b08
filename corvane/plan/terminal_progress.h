#pragma once

#include <cstdio>

#include "corvane/plan/plan_listener.h"

// What a plan run tells on the terminal: a line per case as it runs ("step 2 of 5:
// alarm Contact-ID 123418113101015 ..." and, when it comes, the verdict and the time),
// then a table of the steps with the delivery statistics of the repeated ones and the
// outcome of the plan.
class TerminalProgress : public PlanListener {
 public:
  explicit TerminalProgress(std::FILE* out = stdout) : out_(out) {}

  void stepStarted(int step, int steps, const std::string& what) override;
  void caseStarted(const CaseResult& result) override;
  void caseFinished(const CaseResult& result, const PlanResults& results) override;
  void planFinished(const PlanResults& results) override;

 private:
  std::FILE* out_;
  int steps_ = 0;
};

// The summary table of the steps and the outcome line, as the terminal shows it.
std::string summaryTable(const PlanResults& results);
// "4.21 s"
std::string secondsText(std::int64_t ms);
