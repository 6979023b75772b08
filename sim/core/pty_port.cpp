#include "sim/core/pty_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

namespace zmsim {

namespace {

speed_t speedOf(int baud) { return baud == 115200 ? B115200 : B9600; }

int baudOf(speed_t speed) {
  switch (speed) {
    case B1200: return 1200;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
  }
}

}  // namespace

PtyPort::~PtyPort() { close(); }

bool PtyPort::open(int baud, std::string& error) {
  close();
  fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + ::strerror(errno);
    close();
    return false;
  }
  char name[128];
  if (::ptsname_r(fd_, name, sizeof name) != 0) {
    error = std::string("no slave name: ") + ::strerror(errno);
    close();
    return false;
  }
  slavePath_ = name;
  // Opening and closing the slave once also makes the master report POLLHUP until
  // the PC opens it, which is how an absent peer is told.
  int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave < 0) {
    error = std::string("cannot open ") + name + ": " + ::strerror(errno);
    close();
    return false;
  }
  termios settings{};
  ::tcgetattr(slave, &settings);
  ::cfmakeraw(&settings);
  settings.c_cflag |= CLOCAL | CREAD;
  ::cfsetspeed(&settings, speedOf(baud));
  ::tcsetattr(slave, TCSANOW, &settings);
  ::close(slave);
  return true;
}

void PtyPort::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool PtyPort::peerPresent() const {
  if (fd_ < 0) return false;
  pollfd p{fd_, 0, 0};
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

int PtyPort::peerBaud() const {
  termios settings{};
  if (fd_ < 0 || ::tcgetattr(fd_, &settings) != 0) return 0;
  return baudOf(::cfgetospeed(&settings));
}

std::string PtyPort::read(std::size_t max) {
  std::string bytes(max, '\0');
  ssize_t n = fd_ >= 0 ? ::read(fd_, bytes.data(), max) : -1;
  bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return bytes;
}

std::size_t PtyPort::write(std::string_view bytes) {
  if (fd_ < 0 || bytes.empty()) return 0;
  ssize_t n = ::write(fd_, bytes.data(), bytes.size());
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace zmsim
