#include "corvane/logged_serial_port.h"

void LoggedSerialPort::write(std::string_view bytes) {
  // A write on a closed port goes nowhere; the record must not claim it was sent.
  if (port_.isOpen()) {
    log_.sent(bytes);
  } else {
    log_.unsent(bytes);
  }
  port_.write(bytes);
}

std::string LoggedSerialPort::readAvailable(std::size_t maxBytes) {
  std::string bytes = port_.readAvailable(maxBytes);
  log_.received(bytes);
  return bytes;
}
