#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/clock.h"
#include "common/serial_port.h"

// The primitives every exchange with the module travels on: one write per call, reads
// that never wait, blocking pauses and the stopwatch, the register query. The port
// and the clock must outlive the link.
class ModuleLink {
 public:
  ModuleLink(SerialPort& port, Clock& clock) : port_(port), clock_(clock) {}

  SerialPort& port() { return port_; }
  Clock& clock() { return clock_; }

  // Opens the port by its stored name at baud and drops whatever the driver still
  // holds from before, so a test of the link reads only the answers to its own frames.
  // A name that does not open leaves the port closed; nothing is reported.
  void openPort(const std::string& name, int baud) {
    port_.open(name, baud);
    port_.purgeInput();
  }

  // One write of exactly these bytes. The sequences towards the module go on whatever
  // it returns (their pauses are the contract); a write not written whole is counted
  // as not sent, for the status line, from the same result the session log takes.
  PortWriteResult sendBytes(std::string_view bytes) {
    const PortWriteResult result = port_.write(bytes);
    ++(result.complete() ? sent_ : unsent_);
    if (!result.complete() && failure_ == PortProblem::Kind::kNone) failure_ = result.failure;
    return result;
  }
  PortWriteResult sendByte(char byte) { return sendBytes(std::string_view(&byte, 1)); }
  // The writes counted since the last call, sent and not (wholly) sent, and why the
  // first of those not sent was not; all start again at 0.
  struct WriteCounts {
    int sent = 0;
    int unsent = 0;
    PortProblem::Kind failure = PortProblem::Kind::kNone;
  };
  WriteCounts takeWriteCounts() {
    WriteCounts counts{sent_, unsent_, failure_};
    sent_ = unsent_ = 0;
    failure_ = PortProblem::Kind::kNone;
    return counts;
  }
  // One read that returns at once with at most maxBytes; a failure reads nothing.
  std::string readUpTo(std::size_t maxBytes) { return port_.readAvailable(maxBytes); }

  void pauseMs(int ms) { clock_.pauseMs(ms); }
  void stopwatchStart() { clock_.stopwatchStart(); }
  double stopwatchElapsedMs() { return clock_.stopwatchElapsedMs(); }

  // Sends a three-character R or Q frame, waits 30 ms, then makes up to six one-byte
  // reads 10 ms apart until two reply characters have come. Returns them (0, 1 or 2
  // characters); bytes after the second are left for later reads.
  std::string queryRegister(std::string_view frame);

  // The link check on a test register ("80" at start-up, "50" for detection): three
  // CRs, 100 ms, stale input dropped, a first query, 55 written to the register, and
  // a second query between 100 ms pauses. Returns the second query's reply, which is
  // the written value when the module answers on this port at this speed. reg is the
  // register's two digits (register_map::kStartUpTest or kDetectTest).
  std::string registerLinkCheck(std::string_view reg);

 private:
  SerialPort& port_;
  Clock& clock_;
  int sent_ = 0;
  int unsent_ = 0;
  PortProblem::Kind failure_ = PortProblem::Kind::kNone;
};

// The value of two hexadecimal characters: 16 x digit(p0) + digit(p1), where
// digit(c) is c - '0', less 7 more above 9, and a to f count as A to F. Other
// characters are not rejected: a character below '0' (the end of a text included)
// gives a negative digit, so a pair below "20" always gives a value below 32.
int hexPairToByte(char p0, char p1);
// The pair at position i of text; positions past the end read as a zero byte.
int hexPairToByte(std::string_view text, std::size_t i);
// Whether both characters are hexadecimal digits (either case), so that the pair is a
// register value from 0 to 255.
bool isHexPair(std::string_view pair);

// value in general notation with `digits` significant digits, trailing zeros (and a
// trailing point) dropped, and exponent form only when the decimal exponent is below
// -1 or at least `digits` (e.g. 1.5 -> "1.5", 1234.5 -> "1234.5", 0.05 -> "5e-02").
std::string formatGeneral(double value, int digits);
