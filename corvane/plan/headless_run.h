#pragma once

#include <filesystem>

#include "corvane/plan/test_plan.h"

// corvane --run: the plan on Corvane's dialog logic without a window, in the current
// directory, with its settings files, history file and session log as the window has
// them. Progress goes to stdout, the status line to stderr; the reports (when named)
// are rewritten after every case. Returns the exit status (plan_command.h).
struct HeadlessRunFiles {
  std::filesystem::path junit;  // empty: none
  std::filesystem::path json;
};

int runPlanWithoutWindow(const TestPlan& plan, const HeadlessRunFiles& files);
