#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zmsim {

// The module's end of the serial line: the master side of a pseudo-terminal whose
// slave the PC opens as its serial port. Non-blocking throughout.
//
// On Linux the master reports the slave's termios, so peerBaud() is the speed the PC
// set, and poll() flags POLLHUP on the master while no one has the slave open.
class PtyPort {
 public:
  PtyPort() = default;
  ~PtyPort();
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  // Opens a master and sets the slave raw at baud, so that nothing the module sends is
  // echoed back before the PC configures the line. Empty error on success.
  bool open(int baud, std::string& error);
  void close();

  int fd() const { return fd_; }
  const std::string& slavePath() const { return slavePath_; }

  // Whether some program has the slave open.
  bool peerPresent() const;
  // The line speed the PC set, in baud (0 when unknown).
  int peerBaud() const;

  // What has arrived, up to max bytes; empty when nothing (or on error).
  std::string read(std::size_t max);
  // How many bytes were taken; 0 when the line is full or gone.
  std::size_t write(std::string_view bytes);

 private:
  int fd_ = -1;
  std::string slavePath_;
};

}  // namespace zmsim
