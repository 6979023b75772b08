#pragma once

#include <string>

#include "corvane/plan/plan_results.h"

// The results as JUnit XML, the form CI systems show: one <testsuite> for the plan,
// one <testcase> per case, a <failure> for each that did not pass (with the verdict and
// the module's or the status line's words), and the session log lines of the case as
// its <system-out>. A plan that stopped early says why in the suite's <system-err>.
std::string junitReport(const PlanResults& results);

// Text as XML character data or attribute value: markup characters escaped, and bytes
// XML cannot hold (control characters, invalid UTF-8) shown as <HH>.
std::string xmlEscaped(const std::string& text);
