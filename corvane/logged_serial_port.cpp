#include "corvane/logged_serial_port.h"

#include <algorithm>

PortWriteResult LoggedSerialPort::write(std::string_view bytes) {
  // Stamped when the write begins, as the module starts to get the bytes.
  const std::int64_t atMs = log_.nowMs();
  const PortWriteResult result = port_.write(bytes);
  const std::size_t written = std::min(result.written, bytes.size());
  if (written > 0) log_.sent(bytes.substr(0, written), atMs);
  if (written < bytes.size()) log_.unsent(bytes.substr(written), result.failure, atMs);
  return result;
}

std::string LoggedSerialPort::readAvailable(std::size_t maxBytes) {
  std::string bytes = port_.readAvailable(maxBytes);
  log_.received(bytes);
  return bytes;
}
