#pragma once

#include <string>
#include <string_view>

#include "common/serial_port.h"
#include "corvane/session_log.h"

// The port Corvane talks through when the session is logged: every call goes to the
// real port unchanged, and each write and each read that brought bytes is recorded in
// the session log's memory buffer; a write's bytes as tx only as far as the port's
// result says they were written, the rest as unsent with the reason. It does no I/O of its own, so the pauses of a
// timed sequence stay what they are; the log is written by SessionLog::flush().
class LoggedSerialPort : public SerialPort {
 public:
  // Both must outlive this port.
  LoggedSerialPort(SerialPort& port, SessionLog& log) : port_(port), log_(log) {}

  bool open(const std::string& name, int baud) override { return port_.open(name, baud); }
  void close() override { port_.close(); }
  bool isOpen() const override { return port_.isOpen(); }
  PortWriteResult write(std::string_view bytes) override;
  std::string readAvailable(std::size_t maxBytes) override;
  void purgeInput() override { port_.purgeInput(); }

  std::string name() const override { return port_.name(); }
  int baud() const override { return port_.baud(); }
  std::string device() const override { return port_.device(); }
  PortProblem problem() const override { return port_.problem(); }
  bool reopenIfBack() override { return port_.reopenIfBack(); }

 private:
  SerialPort& port_;
  SessionLog& log_;
};
