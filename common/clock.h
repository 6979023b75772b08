#pragma once

// Time as the programs use it towards the module: blocking pauses of whole
// milliseconds and a stopwatch. The real clock is SteadyClock; tests use
// VirtualClock (tests/fakes), whose pauses advance virtual time at once.
class Clock {
 public:
  virtual ~Clock() = default;

  // Blocks the calling thread for at least ms milliseconds, close to ms.
  // Returns at once when ms is 0 or less.
  virtual void pauseMs(int ms) = 0;
  virtual void stopwatchStart() = 0;
  // Milliseconds since the last stopwatchStart(), with fractions.
  virtual double stopwatchElapsedMs() = 0;
};
