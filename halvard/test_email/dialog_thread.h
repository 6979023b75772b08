#pragma once

#include <functional>

// The way back to the dialog's thread for work done beside it: post() may be called
// from any thread, and the task runs later on the dialog's thread, in the order posted.
// The Qt view posts through a queued signal; tests keep the tasks and run them when
// they choose. Tasks still waiting when the poster is destroyed are dropped.
class DialogThread {
 public:
  virtual ~DialogThread() = default;
  virtual void post(std::function<void()> task) = 0;
};
