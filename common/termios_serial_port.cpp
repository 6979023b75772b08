#include "common/termios_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

#include "common/port_names.h"
#include "common/process_name.h"
#include "common/terminal_checks.h"

namespace {

struct BaudEntry {
  int baud;
  speed_t speed;
};

// The rates termios can name. The module speaks 9600 or 115200; the others are
// accepted so that a bench test at another rate needs no change here.
constexpr BaudEntry kBaudTable[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> speedFor(int baud) {
  for (const BaudEntry& e : kBaudTable) {
    if (e.baud == baud) return e.speed;
  }
  return std::nullopt;
}

// The largest output buffer a tty driver keeps; a write that makes no progress for
// twice the time this takes on the wire, plus a margin, has a peer that stopped
// reading and gives up.
constexpr int kDriverBufferBytes = 4096;
constexpr int kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
constexpr int kStallMarginMs = 500;

int stallTimeoutMs(int baud) {
  long long wireMs = 1000LL * kDriverBufferBytes * kBitsPerByte / std::max(baud, 1);
  return static_cast<int>(std::min<long long>(2 * wireMs + kStallMarginMs, 60'000));
}

// 8 data bits, no parity, one stop bit, raw bytes both ways, reads that return at
// once. Neither RTS handshake nor DSR sensitivity has a switch on Linux (termiox is
// gone), so RTS is held on with DTR and no flow control of any kind is used.
void applyLineSettings(termios& tio, speed_t speed) {
  ::cfmakeraw(&tio);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | HUPCL | PARENB | CSTOPB | CSIZE);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
}

// tcsetattr succeeds when any one change took, so what the driver kept is compared
// field by field: a port left at another rate or framing would corrupt every frame.
bool settingsTook(const termios& got, speed_t speed) {
  const tcflag_t mustBeClear = CRTSCTS | PARENB | CSTOPB;
  return ::cfgetospeed(&got) == speed && ::cfgetispeed(&got) == speed &&
         (got.c_cflag & CSIZE) == CS8 && (got.c_cflag & mustBeClear) == 0 &&
         (got.c_cflag & (CLOCAL | CREAD)) == (CLOCAL | CREAD) &&
         (got.c_iflag & (IXON | IXOFF | IXANY)) == 0 && (got.c_lflag & ICANON) == 0 &&
         got.c_cc[VMIN] == 0 && got.c_cc[VTIME] == 0;
}

// What the operator should read as the device: the target of a ./ports link (made
// absolute), else the path as it stands.
std::string shownDevice(const std::filesystem::path& path, const std::filesystem::path& workDir) {
  if (path.parent_path() != workDir / "ports") return path.string();
  std::error_code ec;
  std::filesystem::path target = std::filesystem::read_symlink(path, ec);
  if (ec) return path.string();
  if (target.is_relative()) target = path.parent_path() / target;
  return target.lexically_normal().string();
}

bool isGoneError(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

// A device that is gone reads 0 bytes like a quiet line; the hangup shows in poll().
bool hungUp(int fd) {
  pollfd pfd{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&pfd, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Whether the tty is in exclusive mode, set by whoever holds it. A kernel without
// TIOCGEXCL cannot tell: then the flock is the only guard.
bool heldExclusively(int fd) {
  int exclusive = 0;
  return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

}  // namespace

TermiosSerialPort::TermiosSerialPort(std::filesystem::path workDir, PortPlaces places)
    : workDir_(std::move(workDir)), places_(std::move(places)) {}

TermiosSerialPort::~TermiosSerialPort() { releaseDevice(); }

bool TermiosSerialPort::open(const std::string& name, int baud) {
  close();
  name_ = name;
  baud_ = baud;
  path_.clear();
  device_.clear();
  std::optional<std::filesystem::path> path = resolvePortName(name, workDir_, places_.tree);
  if (!path) {
    return fail(comPortNumber(name) ? PortProblem::Kind::kNoDevice : PortProblem::Kind::kNoName,
                0);
  }
  path_ = *path;
  device_ = shownDevice(path_, workDir_);
  return openPath(path_);
}

bool TermiosSerialPort::openPath(const std::filesystem::path& path) {
  using Kind = PortProblem::Kind;
  problem_ = {};
  // Checked before the open as well as after it, so that a stored name never opens a
  // fifo, a folder, a plain file or the operator's own terminal even for a moment;
  // O_CREAT is never given.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    int error = errno;
    return fail(kindForOpenError(error), error);
  }
  if (!S_ISCHR(st.st_mode)) return fail(Kind::kNotSerial, 0);
  if (isOwnTerminal(st.st_rdev)) return fail(Kind::kControllingTerminal, 0);
  if (!speedFor(baud_)) return fail(Kind::kLineSettings, EINVAL);

  // Another program's lock is honoured before the device is touched: opening it
  // would already raise DTR under that program.
  std::filesystem::path folder = uucp::lockFolder(places_.lockFolders);
  std::error_code ec;
  std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (!folder.empty() && !ec) {
    if (pid_t holder = lock_.acquire(uucp::lockFilePath(folder, real)); holder != 0) {
      fail(Kind::kBusy, 0);
      problem_.holderPid = holder;
      problem_.holderName = processName(holder);
      return false;
    }
  }

  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    int error = errno;
    fail(kindForOpenError(error), error);
    if (problem_.kind == Kind::kPermission) problem_.group = groupName(st.st_gid);
    return false;
  }
  fd_ = fd;
  if (::fstat(fd_, &st) != 0 || !S_ISCHR(st.st_mode) || !::isatty(fd_)) {
    return fail(Kind::kNotSerial, 0);
  }
  if (isOwnTerminal(st.st_rdev)) return fail(Kind::kControllingTerminal, 0);
  // A program that holds the line in exclusive mode alone (no flock, no lock file)
  // keeps out other users, but root's open passes: asked before anything is written
  // or set, so root never writes into another program's line either.
  if (heldExclusively(fd_)) return fail(Kind::kBusy, EBUSY);
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) return fail(Kind::kBusy, errno);
  // TIOCEXCL keeps out other programs that use neither flock nor lock files; root
  // passes it anyway, which is why the checks above decide.
  exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
  return configure(fd_);
}

bool TermiosSerialPort::configure(int fd) {
  using Kind = PortProblem::Kind;
  const speed_t speed = *speedFor(baud_);
  termios tio {};
  if (::tcgetattr(fd, &tio) != 0) {
    int error = errno;
    return fail(error == ENOTTY || error == EINVAL ? Kind::kNotSerial : Kind::kOther, error);
  }
  applyLineSettings(tio, speed);
  termios got {};
  if (::tcsetattr(fd, TCSANOW, &tio) != 0 || ::tcgetattr(fd, &got) != 0) {
    return fail(Kind::kLineSettings, errno);
  }
  if (!settingsTook(got, speed)) return fail(Kind::kLineSettings, 0);

  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  int lines = TIOCM_DTR | TIOCM_RTS;
  ::ioctl(fd, TIOCMBIS, &lines);  // a pseudo-terminal answers ENOTTY: nothing to raise
  purgeInput();
  return true;
}

bool TermiosSerialPort::fail(PortProblem::Kind kind, int osError) {
  releaseDevice();
  problem_ = {};
  problem_.kind = kind;
  problem_.device = device_;
  problem_.osError = osError;
  return false;
}

void TermiosSerialPort::releaseDevice() {
  if (fd_ >= 0) {
    // Exclusive mode belongs to the tty, not to this descriptor: left set, it would
    // keep the port from opening again while anyone else still holds it open. Only
    // our own is cleared; a refused open leaves the holder's mode as it was.
    if (exclusive_) ::ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);  // releases the flock as well
    fd_ = -1;
  }
  lock_.release();
  stalled_ = false;
}

void TermiosSerialPort::close() {
  releaseDevice();
  problem_ = {};
  lost_ = false;
}

void TermiosSerialPort::lose(int osError) {
  releaseDevice();
  problem_ = {};
  problem_.kind = PortProblem::Kind::kGone;
  problem_.device = device_;
  problem_.osError = osError;
  lost_ = true;
}

bool TermiosSerialPort::reopenIfBack() {
  if (!lost_ || fd_ >= 0) return false;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return false;
  device_ = shownDevice(path_, workDir_);  // a relinked ./ports/COMn may lead elsewhere now
  if (openPath(path_)) {
    lost_ = false;
    return true;
  }
  // Back but not (yet) usable, e.g. before udev has given the node its group: still
  // lost, tried again on the next call.
  lose(problem_.osError);
  return false;
}

PortWriteResult TermiosSerialPort::write(std::string_view bytes) {
  using Kind = PortProblem::Kind;
  if (fd_ < 0) return {0, Kind::kNotOpen};
  if (bytes.empty()) return {};
  // The descriptor blocks between calls, but a write runs non-blocking under poll():
  // a peer that stops reading (a hung program at the other end of a pseudo-terminal,
  // a stalled adapter) then costs one bounded wait and the rest of the frame instead
  // of freezing the program. A vanished peer answers EIO at once.
  int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0) return {0, Kind::kOther};
  ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
  const int stallMs = stallTimeoutMs(baud_);
  PortWriteResult result;
  while (result.written < bytes.size() && result.complete()) {
    ssize_t n = ::write(fd_, bytes.data() + result.written, bytes.size() - result.written);
    if (n > 0) {
      result.written += static_cast<std::size_t>(n);
      stalled_ = false;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN && !stalled_) {
      pollfd pfd{fd_, POLLOUT, 0};
      int ready;
      do {
        ready = ::poll(&pfd, 1, stallMs);
      } while (ready < 0 && errno == EINTR);
      if (ready > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
        lose(EIO);
        return {result.written, Kind::kGone};
      }
      if (ready <= 0) result.failure = Kind::kStalled;
      // Once the peer has let a write stall out, later writes that find the line
      // still full are lost at once: a sequence of frames must not wait out the
      // stall again for each of its pieces.
      stalled_ = ready == 0;
    } else if (n < 0 && errno == EAGAIN) {
      result.failure = Kind::kStalled;
    } else if (n < 0 && isGoneError(errno)) {
      lose(errno);
      return {result.written, Kind::kGone};
    } else {
      result.failure = Kind::kOther;
    }
  }
  ::fcntl(fd_, F_SETFL, flags);
  // With flow control off the driver's buffer empties at the line rate, so the drain
  // is bounded; a pause that follows a write starts once the bytes have left.
  if (result.complete()) {
    while (::tcdrain(fd_) != 0 && errno == EINTR) {
    }
  }
  return result;
}

std::string TermiosSerialPort::readAvailable(std::size_t maxBytes) {
  if (fd_ < 0 || maxBytes == 0) return {};
  std::string buffer(maxBytes, '\0');
  ssize_t n;
  do {
    n = ::read(fd_, buffer.data(), maxBytes);
  } while (n < 0 && errno == EINTR);
  if ((n < 0 && isGoneError(errno)) || (n == 0 && hungUp(fd_))) {
    lose(n < 0 ? errno : EIO);
    return {};
  }
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buffer;
}

void TermiosSerialPort::purgeInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}
