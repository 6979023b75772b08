#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "corvane/plan/plan_problem.h"
#include "corvane/plan/test_plan.h"

// Reads a test plan from TOML. Every problem found is kept, each at its place in the
// file, and the plan is usable only when there are none: a TOML syntax error, an
// unknown key, a value of the wrong type or out of range, a message file that cannot be
// read. What the messages mean is the checker's (plan_checker.h).
//
//   port = "COM1:"            # COMn: (n 1 to 9), a device path, or "detect"
//   speed = 9600              # optional: the module must answer at it (9600, 115200)
//   telephone = "5551234"     # optional: typed into "telephone number"
//   [options]                 # optional, set before the first step
//   status_messages = true    # also audio, debug_messages, sia_110_baud, reduce_6db
//   tone_hz = 1400            # or 2300
//   dialer_timeout = "0A"     # two hex digits, counts of two seconds
//   kissoff_time = "04"
//   [[step]]
//   do = "alarm"              # or "multiple-run", "factory-defaults", "pause"
//   format = "contact-id"     # or "sia-fsk-f1", "pulse-4x2", "sia-fsk-f2"
//   message = "123418113101015"   # or message_file = "path" (beside the plan)
//   expect = "delivered"      # or "failed" (failure = "NO ANSWER"), "no-report"
//   within = 60               # seconds
//   repeat = 1
struct ParsedPlan {
  TestPlan plan;
  PlanProblems problems;
  bool ok() const { return problems.empty(); }
};

ParsedPlan parsePlanFile(const std::filesystem::path& file);
// The same from text; baseDir is where message files are looked for.
ParsedPlan parsePlanText(std::string_view text, const std::string& fileName,
                         const std::filesystem::path& baseDir);

namespace plan_limits {
constexpr int kMaxWithinSeconds = 3600;
constexpr int kMaxRepeat = 10000;
constexpr int kMaxPauseSeconds = 3600;
constexpr std::size_t kMinRunMessages = 2;
constexpr std::size_t kMaxRunMessages = 8;
}  // namespace plan_limits
