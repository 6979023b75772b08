#pragma once

namespace zmsim {

// How a call ends when the module dials.
enum class Outcome {
  Deliver,    // handshake, message, kiss-off: "MESSAGE SUCCESS"
  NoKissoff,  // handshake and message, but the receiver never acknowledges
  NoAnswer,   // the line rings and nobody answers
};

// Faults a module or its cable shows now and then, to see how the PC copes.
struct CallFaults {
  bool nulBeforeReport = false;  // a zero byte just ahead of the call's result line
  bool splitReport = false;      // the result line in two pieces some 300 ms apart
  bool flood = false;            // a burst of trace text when a call starts
};

struct ModuleOptions {
  Outcome outcome = Outcome::Deliver;
  // From G to the result line; the message after B takes half of it.
  int callLengthMs = 4000;
  CallFaults faults;
};

}  // namespace zmsim
