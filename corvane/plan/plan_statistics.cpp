#include "corvane/plan/plan_statistics.h"

#include <algorithm>
#include <cmath>

const char* verdictWords(Verdict verdict) {
  switch (verdict) {
    case Verdict::kDelivered: return "delivered";
    case Verdict::kFailed: return "failed";
    case Verdict::kNoReport: return "no report in time";
    case Verdict::kPortLost: return "port lost";
    case Verdict::kDone: return "done";
    case Verdict::kInterrupted: return "interrupted";
  }
  return "";
}

std::int64_t percentile(std::vector<std::int64_t> sorted, double p) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

DeliveryStatistics deliveryStatistics(const std::vector<CaseResult>& cases, int step) {
  DeliveryStatistics stats;
  std::vector<std::int64_t> times;
  for (const CaseResult& c : cases) {
    if (c.step != step || c.verdict == Verdict::kDone) continue;
    ++stats.alarms;
    if (c.passed) ++stats.passed;
    if (c.verdict == Verdict::kDelivered) times.push_back(c.elapsedMs);
  }
  if (times.empty()) return stats;
  std::sort(times.begin(), times.end());
  const std::size_t n = times.size();
  stats.minMs = times.front();
  stats.maxMs = times.back();
  stats.medianMs = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  stats.p95Ms = percentile(times, 0.95);
  return stats;
}
