#include "corvane/plan/interrupt_signals.h"

#include <time.h>

#include <cerrno>
#include <csignal>

namespace interrupt_signals {

namespace {

volatile std::sig_atomic_t gSignal = 0;

extern "C" void noteSignal(int signo) {
  if (gSignal == 0) gSignal = signo;
}

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  // Port writes and file writes go on after the handler; the sleep between ticks
  // returns at once, as nanosleep always does on a signal.
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

int pendingSignal() { return gSignal; }

void sleepUntil(std::chrono::steady_clock::time_point when) {
  // steady_clock is CLOCK_MONOTONIC with libstdc++ on Linux.
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
  timespec until{};
  until.tv_sec = static_cast<time_t>(ns / 1000000000);
  until.tv_nsec = static_cast<long>(ns % 1000000000);
  while (gSignal == 0 && ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

}  // namespace interrupt_signals
