#pragma once

#include <string>
#include <vector>

#include "corvane/plan/plan_results.h"

// Hears a plan run as it goes: the terminal's progress lines, the window's table, the
// report files. Every call comes between two poll ticks, never inside a timed sequence.
class PlanListener {
 public:
  virtual ~PlanListener() = default;
  // Step k (0-based) of n begins; what is the step in words.
  virtual void stepStarted(int /*step*/, int /*steps*/, const std::string& /*what*/) {}
  // A case begins (name, step, repetition and message are set).
  virtual void caseStarted(const CaseResult& /*result*/) {}
  // A case has its verdict; results holds every case so far, this one last.
  virtual void caseFinished(const CaseResult& /*result*/, const PlanResults& /*results*/) {}
  virtual void planFinished(const PlanResults& /*results*/) {}
};

// Passes every call on to several listeners, in the order they were added.
class PlanListeners : public PlanListener {
 public:
  void add(PlanListener* listener) {
    if (listener != nullptr) listeners_.push_back(listener);
  }
  void stepStarted(int step, int steps, const std::string& what) override {
    for (PlanListener* l : listeners_) l->stepStarted(step, steps, what);
  }
  void caseStarted(const CaseResult& result) override {
    for (PlanListener* l : listeners_) l->caseStarted(result);
  }
  void caseFinished(const CaseResult& result, const PlanResults& results) override {
    for (PlanListener* l : listeners_) l->caseFinished(result, results);
  }
  void planFinished(const PlanResults& results) override {
    for (PlanListener* l : listeners_) l->planFinished(results);
  }

 private:
  std::vector<PlanListener*> listeners_;
};
