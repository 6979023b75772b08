#pragma once

#include <cstddef>
#include <vector>

namespace zmsim {

// How a call ends when the module dials.
enum class Outcome {
  Deliver,    // handshake, message, kiss-off: "MESSAGE SUCCESS"
  NoKissoff,  // handshake and message, but the receiver never acknowledges
  NoAnswer,   // the line rings and nobody answers
  Unplug,     // the line rings on until the module vanishes (SimRunner pulls the plug)
};

// Faults a module or its cable shows now and then, to see how the PC copes.
struct CallFaults {
  bool nulBeforeReport = false;  // a zero byte just ahead of the call's result line
  bool splitReport = false;      // the result line in two pieces some 300 ms apart
  bool flood = false;            // a burst of trace text when a call starts
};

struct ModuleOptions {
  // How the calls end, one per call (each G that dials) in turn, the last repeated;
  // never empty. The messages sent after B end as their call's first did.
  std::vector<Outcome> outcomes{Outcome::Deliver};
  // From G to the result line; the message after B takes half of it.
  int callLengthMs = 4000;
  CallFaults faults;
  // A query (R or Q) left unfinished this long is answered "?" CR once and stays open,
  // as a module that times out a frame would; -1: off, so a frame typed a key at a time
  // is answered like one sent at once.
  int frameTimeoutMs = -1;

  // The outcome of the call with this index (0 for the first).
  Outcome outcomeOfCall(std::size_t call) const {
    if (outcomes.empty()) return Outcome::Deliver;
    return outcomes[call < outcomes.size() ? call : outcomes.size() - 1];
  }
  bool unplugsOnACall() const {
    for (Outcome o : outcomes) {
      if (o == Outcome::Unplug) return true;
    }
    return false;
  }
};

}  // namespace zmsim
