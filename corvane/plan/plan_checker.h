#pragma once

#include <string>
#include <vector>

#include "corvane/plan/plan_problem.h"
#include "corvane/plan/test_plan.h"

// What each message of a plan means in its step's format, in the words of the alarm
// message tooltips (common/alarm_message.h). A message the explanation finds wrong is a
// problem of the plan, unless its step says wrong_on_purpose = true (to see what the
// module does with it); so is a message a multiple run could not read back from its
// file as it stands.
struct MessageNote {
  PlanPlace place;
  std::string summary;  // the explanation's one line
  bool wrong = false;   // the explanation found a problem
};

struct PlanCheck {
  std::vector<MessageNote> notes;  // one per message, in plan order
  PlanProblems problems;
};

PlanCheck checkPlan(const TestPlan& plan);
