#pragma once

#include <string>
#include <vector>

#include "common/serial_port.h"
#include "common/status_line.h"

// What Corvane tells the operator about its one port, on the status line: the device a
// name led to and whether the module answered there, why an open failed, what a port
// detection tried, a device lost and found again, and what was not sent meanwhile.
// The "message received" display never shows any of it.
class PortWatch {
 public:
  // Both must outlive the watch.
  PortWatch(SerialPort& port, StatusLine& status) : port_(port), status_(status) {}

  // --- the start-up link test --------------------------------------------------------
  // After each open of the test: a failed open is said once, with its reason.
  void afterLinkOpen();
  // The outcome: answeredBaud is the speed the module answered at, 0 for none.
  void linkTestDone(int answeredBaud);

  // --- port detection ------------------------------------------------------------------
  void startDetection() { tries_.clear(); }
  // After the link check on the name just opened (or not).
  void detectionTried(bool answered);
  // One message for the whole detection.
  void detectionDone(int baud);

  // --- handlers and the tick -----------------------------------------------------------
  // After a sequence that wrote to the module: says that the device went away the first
  // time the port reports it, and that what the sequence wrote was not (all) sent when
  // writes were not written whole. what names the sequence ("alarm transmission"); may
  // be empty. sentWrites and unsentWrites count the sequence's writes; failure is why
  // the first unsent one was not sent (a write's result), which decides the words
  // while the port is still open (a device that stopped taking bytes).
  void afterSequence(const std::string& what, int sentWrites, int unsentWrites,
                     PortProblem::Kind failure = PortProblem::Kind::kNone);
  // Once a tick: while the device is gone, one cheap check whether it is back; when it
  // is, the port is open again at the same speed (nothing is sent) and that is said.
  // While the port's last open found it held by another program, it is opened again
  // every kHeldRetryTicks ticks (at most once a second) at the speed of that open; a
  // new holder is said, and so is the open once the port is free (nothing is sent).
  void atTick();

  static constexpr int kHeldRetryTicks = 10;

 private:
  struct Try {
    std::string name;
    std::string device;
    PortProblem problem;  // kNone: it opened
    bool answered = false;
  };

  void say(const std::string& message) { status_.show(message); }
  void retryGone();
  void retryHeld();
  std::string whyNotOpen() const;

  SerialPort& port_;
  StatusLine& status_;
  bool openFailureSaid_ = false;  // the start-up test's open failure
  bool lostSaid_ = false;         // the device's going away
  int heldTicks_ = 0;             // ticks since the held port was last tried
  std::vector<Try> tries_;
};

// "COM3: is /dev/serial/by-id/usb-FTDI_...: the module answered at 9600 baud", or "...:
// no answer at 9600 or 115200 baud" when answeredBaud is 0. The device is left out when
// it is the name itself.
std::string describeLinkTest(const std::string& name, const std::string& device,
                             int answeredBaud);
