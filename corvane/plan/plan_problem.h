#pragma once

#include <string>
#include <vector>

#include "corvane/plan/test_plan.h"

// Something wrong with a plan, at the place in the file it concerns.
struct PlanProblem {
  PlanPlace place;
  std::string message;
};
using PlanProblems = std::vector<PlanProblem>;

// "plan.toml:12:5: message", the form compilers use, so editors jump to the place.
std::string formatProblem(const std::string& file, const PlanProblem& problem);
