#pragma once

#include <filesystem>
#include <string>

#include "common/serial_port.h"

// SerialPort on a Linux tty through termios. Names resolve with resolvePortName()
// against the working directory given here. Only a character device that is a tty
// opens, exclusively (flock and TIOCEXCL), so a stored name never creates or opens a
// plain file and a port that another program holds does not open.
class TermiosSerialPort : public SerialPort {
 public:
  explicit TermiosSerialPort(std::filesystem::path workDir);
  ~TermiosSerialPort() override;
  TermiosSerialPort(const TermiosSerialPort&) = delete;
  TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

  bool open(const std::string& name, int baud) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  void write(std::string_view bytes) override;
  std::string readAvailable(std::size_t maxBytes) override;
  void purgeInput() override;

 private:
  std::filesystem::path workDir_;
  int fd_ = -1;
  int baud_ = 0;  // of the open port; bounds how long a stalled write may wait
  bool stalled_ = false;  // the last write gave up on a peer that stopped reading
};
