#pragma once

#include <cstddef>
#include <string_view>

// The module's delivery report ("MESSAGE SUCCESS" or "M00") as the poll tick follows
// it: found in what one tick read, acted on at the first later tick that reads
// nothing, and the count of normal-mode ticks without one, which makes the
// communication timeout. A plain value.
class DeliveryWatch {
 public:
  // At 100 ms a tick: more than 50 s without a report.
  static constexpr int kTicksBeforeTimeout = 500;

  int successSeen = 0;     // 1: a report has been acted on; the timeout count stands still
  int successPending = 0;  // not 0: a report was read and waits for a quiet tick
  int tickCount = 0;       // normal-mode ticks without a report

  // Whether text read at one tick holds the report. The search stops at a zero byte,
  // as over a C text, so a NUL ahead of the report hides it.
  static bool holdsDeliveryReport(std::string_view received);

  // One normal-mode tick. While no report has been acted on, counts it; returns true
  // when the count has passed 500, and starts it again.
  bool countTick();

  // A tick read n bytes that hold a report: it waits for the line to go quiet.
  void notePending(std::size_t n) { successPending += static_cast<int>(n); }

  // A quiet tick: a pending report is acted on now. Returns whether there was one.
  bool actOnPending();
};
