#include "common/steady_clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// Only the pauses that must not wait are run here; how long real pauses last is
// measured by bench/pause_precision.
TEST(SteadyClock, PausesOfZeroOrLessReturnAtOnce) {
  SteadyClock clock;
  auto before = std::chrono::steady_clock::now();
  clock.stopwatchStart();
  clock.pauseMs(0);
  clock.pauseMs(-5);
  clock.pauseMs(-2147483647 - 1);
  double elapsedMs = clock.stopwatchElapsedMs();
  double wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
  EXPECT_GE(elapsedMs, 0.0);
  EXPECT_LE(elapsedMs, wallMs);
  EXPECT_LT(wallMs, 100.0);  // generous: the machine is shared
}

}  // namespace
