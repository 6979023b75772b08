#pragma once

#include <string>

#include "corvane/plan/plan_results.h"

// The results as JSON, for other programs: the plan, whether it passed and why it
// stopped, every case with its verdict, words, time and log lines, and per alarm step
// the delivery statistics (plan_statistics.h).
std::string jsonReport(const PlanResults& results);
