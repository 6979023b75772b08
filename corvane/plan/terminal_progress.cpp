#include "corvane/plan/terminal_progress.h"

#include <map>

#include "corvane/plan/plan_statistics.h"

std::string secondsText(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(ms) / 1000.0);
  return text;
}

void TerminalProgress::stepStarted(int step, int steps, const std::string& what) {
  steps_ = steps;
  std::fprintf(out_, "step %d of %d: %s\n", step + 1, steps, what.c_str());
  std::fflush(out_);
}

void TerminalProgress::caseStarted(const CaseResult& result) {
  std::fprintf(out_, "  %s ...", result.name.c_str());
  std::fflush(out_);
}

void TerminalProgress::caseFinished(const CaseResult& result, const PlanResults&) {
  std::string verdict = verdictWords(result.verdict);
  if (!result.words.empty()) verdict += " (" + result.words + ")";
  std::fprintf(out_, " %s after %s: %s\n", verdict.c_str(), secondsText(result.elapsedMs).c_str(),
               result.passed ? "pass" : "FAIL");
  std::fflush(out_);
}

void TerminalProgress::planFinished(const PlanResults& results) {
  std::fprintf(out_, "\n%s", summaryTable(results).c_str());
  std::fflush(out_);
}

std::string summaryTable(const PlanResults& results) {
  struct Row {
    std::string what;
    int cases = 0;
    int passed = 0;
    std::string firstProblem;
  };
  std::map<int, Row> rows;  // by step; the module options are step 0 here
  for (const CaseResult& c : results.cases) {
    Row& row = rows[c.step + 1];
    if (row.what.empty()) {
      row.what = c.step < 0 ? c.name : c.name.substr(c.name.find(": ") + 2);
      if (const std::size_t cut = row.what.find(", message "); cut != std::string::npos) row.what.resize(cut);
      if (const std::size_t cut = row.what.find(" ("); cut != std::string::npos) row.what.resize(cut);
    }
    ++row.cases;
    row.passed += c.passed ? 1 : 0;
    if (!c.passed && row.firstProblem.empty())
      row.firstProblem = std::string(verdictWords(c.verdict)) + (c.words.empty() ? "" : ": " + c.words);
  }
  std::string text;
  char line[512];
  std::snprintf(line, sizeof line, "%-5s %-44s %6s %6s  %s\n", "step", "what", "cases", "passed", "first problem");
  text += line;
  for (const auto& [step, row] : rows) {
    std::snprintf(line, sizeof line, "%-5s %-44.44s %6d %6d  %s\n", step == 0 ? "-" : std::to_string(step).c_str(),
                  row.what.c_str(), row.cases, row.passed, row.firstProblem.c_str());
    text += line;
    if (step == 0 || row.cases < 2) continue;
    const DeliveryStatistics s = deliveryStatistics(results.cases, step - 1);
    std::snprintf(line, sizeof line, "      success %.1f %%", 100.0 * s.successRate());
    text += line;
    if (s.minMs) {
      text += "; delivery min " + secondsText(*s.minMs) + ", median " + secondsText(*s.medianMs) + ", p95 " +
              secondsText(*s.p95Ms) + ", max " + secondsText(*s.maxMs);
    }
    text += "\n";
  }
  int passed = 0;
  for (const CaseResult& c : results.cases) passed += c.passed ? 1 : 0;
  const int total = static_cast<int>(results.cases.size());
  if (!results.stopped.empty()) text += "plan stopped: " + results.stopped + "\n";
  text += (results.allPassed() ? "plan passed: " : "plan FAILED: ") + std::to_string(passed) + " of " +
          std::to_string(total) + " cases passed\n";
  return text;
}
