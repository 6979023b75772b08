#include "common/steady_clock.h"

#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

// The scheduler may wake a sleeper late by a fraction of a millisecond or more
// under load; the pause sleeps until this much before its end and spins the rest,
// so it ends close to n ms while the spin costs well under a millisecond of CPU.
constexpr std::chrono::microseconds kSpinTail{500};

}  // namespace

void SteadyClock::pauseMs(int ms) {
  if (ms <= 0) return;
  const Steady::time_point end = Steady::now() + std::chrono::milliseconds(ms);
  const Steady::time_point sleepUntil = end - kSpinTail;
  if (Steady::now() < sleepUntil) std::this_thread::sleep_until(sleepUntil);
  while (Steady::now() < end) {
  }
}

void SteadyClock::stopwatchStart() { start_ = Steady::now(); }

double SteadyClock::stopwatchElapsedMs() {
  return std::chrono::duration<double, std::milli>(Steady::now() - start_).count();
}
