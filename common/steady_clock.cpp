#include "common/steady_clock.h"

#include <sys/prctl.h>

#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

// The scheduler may wake a sleeper late; the pause sleeps until this much before its
// end and spins the rest, so it ends close to n ms. With the thread's timer slack at
// its least, a sleep ends within some tens of microseconds of its time, so a short
// spin is enough and a pause costs about a tenth of a millisecond of CPU.
constexpr std::chrono::microseconds kSpinTail{100};

// The kernel lets a sleeping thread's timer fire up to 50 us late by default, to
// batch wake-ups; that lateness would eat most of the spin and make some pauses end
// past it. Timer slack is set per thread, so it is set on each thread that pauses.
constexpr unsigned long kLeastTimerSlackNs = 1;

void tightenTimerSlack() {
  thread_local const bool tightened = [] {
    // Fails only on a kernel without timer slack: the pause then still lasts at
    // least n ms, only with a longer spin now and then.
    prctl(PR_SET_TIMERSLACK, kLeastTimerSlackNs, 0, 0, 0);
    return true;
  }();
  (void)tightened;
}

}  // namespace

void SteadyClock::pauseMs(int ms) {
  if (ms <= 0) return;
  tightenTimerSlack();
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
