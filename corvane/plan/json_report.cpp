#include "corvane/plan/json_report.h"

#include <nlohmann/json.hpp>
#include <set>

#include "corvane/plan/plan_statistics.h"

namespace {

nlohmann::json optionalMs(const std::optional<std::int64_t>& ms) {
  return ms ? nlohmann::json(*ms) : nlohmann::json(nullptr);
}

}  // namespace

std::string jsonReport(const PlanResults& results) {
  nlohmann::json cases = nlohmann::json::array();
  std::set<int> alarmSteps;
  for (const CaseResult& c : results.cases) {
    cases.push_back({{"name", c.name},
                     {"step", c.step + 1},
                     {"repetition", c.repetition},
                     {"message", c.message},
                     {"verdict", verdictWords(c.verdict)},
                     {"passed", c.passed},
                     {"words", c.words},
                     {"expected", c.expected},
                     {"elapsed_ms", c.elapsedMs},
                     {"log", c.log}});
    if (c.verdict != Verdict::kDone && c.step >= 0) alarmSteps.insert(c.step);
  }
  nlohmann::json statistics = nlohmann::json::array();
  for (int step : alarmSteps) {
    const DeliveryStatistics s = deliveryStatistics(results.cases, step);
    statistics.push_back({{"step", step + 1},
                          {"alarms", s.alarms},
                          {"passed", s.passed},
                          {"success_rate", s.successRate()},
                          {"min_ms", optionalMs(s.minMs)},
                          {"median_ms", optionalMs(s.medianMs)},
                          {"p95_ms", optionalMs(s.p95Ms)},
                          {"max_ms", optionalMs(s.maxMs)}});
  }
  const nlohmann::json report = {{"plan", results.planFile},
                                 {"steps", results.stepCount},
                                 {"finished", results.finished},
                                 {"passed", results.finished && results.allPassed()},
                                 {"stopped", results.stopped},
                                 {"cases", cases},
                                 {"statistics", statistics}};
  // Bytes that are not UTF-8 (a module's line noise) are replaced, never refused.
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
