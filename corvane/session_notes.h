#pragma once

#include <string>
#include <string_view>

#include "common/serial_port.h"

class SessionLog;

// What the dialog and its roles tell the session log beside the bytes (which
// LoggedSerialPort records): the start, the operator's actions that send, what each
// alarm message means as it goes out, and the time-outs. Every note only fills the
// log's buffer; the dialog writes the log out when its outermost event ends, so no
// write to the log ever falls inside a timed sequence. With no log, notes do nothing.
class SessionNotes {
 public:
  // log may be null; protocolCode is the dialog's, read at each note. Both must
  // outlive the notes.
  SessionNotes(SessionLog* log, const char& protocolCode) : log_(log), protocolCode_(protocolCode) {}

  void noteStart(const std::string& portName, const SerialPort& port);
  // A click on a button that sends, with the format where it matters; for the two
  // transmissions also the explanation of message 1, which goes out first.
  void noteClick(int id, std::string_view alarmMessage1);
  void noteAction(std::string_view what);
  void noteAlarm(int n, std::string_view message);
  void noteTimeout(std::string_view message);
  // The dialog acted on the module's delivery report.
  void noteDelivered();
  // Port detection opened (or failed to open) name; the traffic after it went there.
  void noteDetectionTry(const std::string& name, const SerialPort& port);
  // Writes out what was noted and what the port recorded.
  void flush();

 private:
  SessionLog* log_;
  const char& protocolCode_;
};
