#pragma once

#include <cstdint>
#include <vector>

#include "common/clock.h"
#include "fakes/wire_timeline.h"

// A clock whose pauses advance virtual time at once and are recorded, so a test of a
// five-second sequence runs in microseconds and can assert every pause. The pauses
// go into the clock's timeline, which the fake ports of a FakeSerialBench on this
// clock share: one record of pauses, writes and reads in the order they happened.
class VirtualClock : public Clock {
 public:
  void pauseMs(int ms) override {
    if (ms <= 0) return;
    WireTimeline::Entry pause{};
    pause.kind = WireTimeline::Entry::kPause;
    pause.atMs = nowMs_;
    pause.ms = ms;
    timeline_.add(pause);
    nowMs_ += ms;
    pauses_.push_back(ms);
  }
  void stopwatchStart() override { startMs_ = nowMs_; }
  double stopwatchElapsedMs() override { return static_cast<double>(nowMs_ - startMs_); }

  std::int64_t nowMs() const { return nowMs_; }
  // The lengths of the pauses since the last clearPauses(), in order.
  const std::vector<int>& pauses() const { return pauses_; }
  std::int64_t totalPausedMs() const {
    std::int64_t sum = 0;
    for (int p : pauses_) sum += p;
    return sum;
  }
  // Forgets the pauses; the port events on the timeline stay.
  void clearPauses() {
    pauses_.clear();
    timeline_.removeKinds({WireTimeline::Entry::kPause});
  }
  // Moves time on without a pause of the code under test (time between events, or a
  // write that blocks).
  void advance(std::int64_t ms) { nowMs_ += ms; }

  WireTimeline& timeline() { return timeline_; }
  const WireTimeline& timeline() const { return timeline_; }

 private:
  std::int64_t nowMs_ = 0;
  std::int64_t startMs_ = 0;
  std::vector<int> pauses_;  // the same pauses as on the timeline, kept as a stable list
  WireTimeline timeline_;
};
