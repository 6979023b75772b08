#pragma once

#include <cstdint>
#include <vector>

#include "common/clock.h"

// A clock whose pauses advance virtual time at once and are recorded, so a test of a
// five-second sequence runs in microseconds and can assert every pause.
class VirtualClock : public Clock {
 public:
  void pauseMs(int ms) override {
    if (ms <= 0) return;
    nowMs_ += ms;
    pauses_.push_back(ms);
  }
  void stopwatchStart() override { startMs_ = nowMs_; }
  double stopwatchElapsedMs() override { return static_cast<double>(nowMs_ - startMs_); }

  std::int64_t nowMs() const { return nowMs_; }
  const std::vector<int>& pauses() const { return pauses_; }
  std::int64_t totalPausedMs() const {
    std::int64_t sum = 0;
    for (int p : pauses_) sum += p;
    return sum;
  }
  void clearPauses() { pauses_.clear(); }
  // Moves time on without a pause of the code under test (time between events).
  void advance(std::int64_t ms) { nowMs_ += ms; }

 private:
  std::int64_t nowMs_ = 0;
  std::int64_t startMs_ = 0;
  std::vector<int> pauses_;
};
