#pragma once

#include <chrono>

#include "common/clock.h"

// The real clock: a pause sleeps for most of its length and spins on the steady
// clock only for its last 100 us, so it lasts at least n ms and close to n ms without
// burning a core for seconds. The first pause on a thread sets that thread's timer
// slack to its least (1 ns), which the short spin relies on; nothing else the thread
// does is slowed by it, its sleeps only end nearer their time.
class SteadyClock : public Clock {
 public:
  void pauseMs(int ms) override;
  void stopwatchStart() override;
  double stopwatchElapsedMs() override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
