#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a plan run found: one case per alarm sent (each repetition, each message of a
// multiple run) and per step that is not an alarm, in the order they ran.
enum class Verdict {
  kDelivered,    // the module's delivery report was read
  kFailed,       // the module reported a failure (words: its report)
  kNoReport,     // neither within the time the step allows
  kPortLost,     // the port went away (words: what the status line said)
  kDone,         // a step that is not an alarm has been carried out
  kInterrupted,  // SIGINT or SIGTERM, or the operator stopped the plan
};

// "delivered", "failed", "no report in time", "port lost", "done", "interrupted".
const char* verdictWords(Verdict verdict);

struct CaseResult {
  int step = 0;        // 0-based index into the plan's steps
  int repetition = 1;  // 1-based
  int message = 0;     // 1-based message of a multiple run; 0 for any other step
  std::string name;    // what was done, for tables and reports
  Verdict verdict = Verdict::kDone;
  bool passed = false;
  std::string words;       // the module's or the status line's words, when any
  std::string expected;    // what the step expected, in words
  std::int64_t elapsedMs = 0;  // from the click to the verdict
  std::string log;         // the session log lines written meanwhile
};

struct PlanResults {
  std::string planFile;
  int stepCount = 0;
  std::vector<CaseResult> cases;
  std::string stopped;  // why the plan ended before its last step; empty when it did not
  bool finished = false;

  bool allPassed() const {
    for (const CaseResult& c : cases)
      if (!c.passed) return false;
    return stopped.empty();
  }
};
