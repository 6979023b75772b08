#pragma once

// The dialog's 100 ms poll timer (timer 1) as the poll tick sees it. The view
// implements it over its own timer; tests record the calls.
class PollTimer {
 public:
  virtual ~PollTimer() = default;
  // Starts the period again, so the next tick comes a full period after the tick that
  // asked for it. The tick asks at the places where the module's line has just gone
  // quiet or a delivery report has come, so the next read is a full period away.
  virtual void restart() = 0;
};
