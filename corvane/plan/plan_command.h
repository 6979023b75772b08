#pragma once

#include <optional>

#include "common/command_line.h"

// Corvane's command line: --check PLAN and --run PLAN [--junit FILE] [--json FILE] are
// carried out here, without a window or a display; anything else goes on as
// startFromCommandLine() says (--help, --version, --desktop, or the window). Returns
// the exit status when the program is to end, nothing when it opens its window.
//
// --run: 0 when every case passed, 1 when any failed or the run stopped, 2 when the plan
// or the port could not be used, 128 + the signal after SIGINT (130) or SIGTERM (143).
// --check: 0 when the plan is fine, 2 when it is not.
std::optional<int> startCorvaneFromCommandLine(const ProgramInfo& program, int argc, char** argv);

namespace plan_exit {
constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kUnusable = 2;
}  // namespace plan_exit
