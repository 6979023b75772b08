#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "corvane/plan/plan_results.h"

// Delivery times of the alarms of one step, over its repetitions: what a soak plan is
// for. Times are of the alarms that were delivered, from the click to the report.
struct DeliveryStatistics {
  int alarms = 0;
  int passed = 0;
  std::optional<std::int64_t> minMs, medianMs, p95Ms, maxMs;  // none when nothing was delivered

  double successRate() const { return alarms == 0 ? 0.0 : static_cast<double>(passed) / alarms; }
};

DeliveryStatistics deliveryStatistics(const std::vector<CaseResult>& cases, int step);
// The value at rank ceil(p * n) of the sorted times (the nearest-rank percentile).
std::int64_t percentile(std::vector<std::int64_t> sorted, double p);
