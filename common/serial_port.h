#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// One serial port as the dialog programs see it: opened by a stored name, a byte
// pipe with reads that never wait. The real one is TermiosSerialPort; tests use
// FakeSerialPort (tests/fakes).
//
// Contract shared by every implementation:
// - open() closes whatever was open first. On failure the port stays closed and
//   every later call does nothing: writes are lost, reads yield no bytes.
// - Line settings are always 8 data bits, no parity, one stop bit, no flow control.
// - write() returns when the bytes have left (or were lost); nothing is reported.
// - readAvailable() returns at once with what has arrived, possibly nothing; an
//   error counts as nothing.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual bool open(const std::string& name, int baud) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual void write(std::string_view bytes) = 0;
  virtual std::string readAvailable(std::size_t maxBytes) = 0;
  // Drops whatever has arrived and not been read yet.
  virtual void purgeInput() = 0;
};
