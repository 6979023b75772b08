#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/serial_port.h"
#include "common/serial_ports_present.h"
#include "common/uucp_lock.h"

// Where a TermiosSerialPort looks for devices and lock files; tests point it into a
// temporary folder.
struct PortPlaces {
  DeviceTree tree;                                                // for COMn: without a link
  std::vector<std::filesystem::path> lockFolders = uucp::kLockFolders;  // first that exists
};

// SerialPort on a Linux tty through termios. Names resolve with resolvePortName()
// against the working directory given here. Only a character device that is a tty
// opens, exclusively (a UUCP lock file where the lock folder can be written, flock and
// TIOCEXCL), so a stored name never creates or opens a plain file and a port that
// another program holds (by any of the three) does not open, not even for root. The process's own terminal never opens.
class TermiosSerialPort : public SerialPort {
 public:
  explicit TermiosSerialPort(std::filesystem::path workDir, PortPlaces places = {});
  ~TermiosSerialPort() override;
  TermiosSerialPort(const TermiosSerialPort&) = delete;
  TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

  bool open(const std::string& name, int baud) override;
  // Closes on purpose: the problem is cleared and reopenIfBack() no longer reopens.
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  // A device that answers EIO or ENXIO, or whose line is hung up, closes the port
  // (problem() says kGone); the bytes are lost. A peer that stops reading costs one
  // bounded wait, and the rest of the write (kStalled).
  PortWriteResult write(std::string_view bytes) override;
  // As write(): a read that finds the device gone closes the port.
  std::string readAvailable(std::size_t maxBytes) override;
  void purgeInput() override;

  std::string name() const override { return name_; }
  int baud() const override { return baud_; }
  // The device the name led to: a link's target for ./ports/COMn, the by-id path for
  // an adapter found by COMn:, the path itself for "/dev/...".
  std::string device() const override { return device_; }
  PortProblem problem() const override { return problem_; }
  // Reopens the path the lost port was opened by (the link, the by-id entry or the
  // path), so a replugged adapter comes back under the same name. While that path
  // leads nowhere this is one stat(). problem() stays kGone until it succeeds.
  bool reopenIfBack() override;

 private:
  bool openPath(const std::filesystem::path& path);
  bool configure(int fd);
  // Ends a failed open: closes what was opened, drops the lock, records why.
  bool fail(PortProblem::Kind kind, int osError);
  void releaseDevice();
  void lose(int osError);

  std::filesystem::path workDir_;
  PortPlaces places_;
  int fd_ = -1;
  std::string name_;
  int baud_ = 0;
  std::filesystem::path path_;  // what name_ resolved to, opened by reopenIfBack()
  std::string device_;
  PortProblem problem_;
  bool lost_ = false;     // the device went away while open; reopenIfBack() may bring it back
  bool stalled_ = false;  // the last write gave up on a peer that stopped reading
  bool exclusive_ = false;  // this port set TIOCEXCL on fd_ and clears it on release
  uucp::Lock lock_;
};
