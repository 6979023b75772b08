#pragma once

#include <chrono>

#include "common/clock.h"

// The real clock: a pause sleeps for most of its length and spins on the steady
// clock only for the last fraction of a millisecond, so it lasts at least n ms and
// close to n ms without burning a core for seconds.
class SteadyClock : public Clock {
 public:
  void pauseMs(int ms) override;
  void stopwatchStart() override;
  double stopwatchElapsedMs() override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
