#pragma once

#include <chrono>

// SIGINT and SIGTERM during a plan run: the handler only notes the signal, and the run
// loop, between two ticks, ends the run as the abort button would. A signal that comes
// during a timed sequence therefore never cuts it short.
namespace interrupt_signals {

// Installs the handlers; a later signal of either kind is noted, not acted on.
void catchInterrupts();
// The signal that came (SIGINT or SIGTERM), 0 while none has.
int pendingSignal();
// Sleeps until the time, or until a signal comes.
void sleepUntil(std::chrono::steady_clock::time_point when);

}  // namespace interrupt_signals
