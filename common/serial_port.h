#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Why a port is not open: the reason its last open() failed, or that its device went
// away while it was open. The status line puts it in words (see port_status_text.h).
struct PortProblem {
  enum class Kind {
    kNone,                 // open, or never tried
    kNoName,               // the name names no port
    kNoDevice,             // nothing at the path the name resolved to
    kPermission,           // the device node may not be opened by this user
    kBusy,                 // another program holds it (flock, TIOCEXCL, a live UUCP lock)
    kNotSerial,            // not a character device that is a tty
    kControllingTerminal,  // the process's own terminal: never opened as a port
    kLineSettings,         // opened, but the driver kept other line settings or speed
    kGone,                 // was open; its device went away (EIO, ENXIO, POLLHUP)
    kOther,                // osError says
    // Only as the failure of a write (PortWriteResult), never as problem():
    kStalled,              // the device stopped taking bytes; the port stays open
    kNotOpen,              // written to a closed port; problem() says why it is closed
  };
  Kind kind = Kind::kNone;
  std::string device;   // the path the name resolved to; empty when it resolved to none
  std::string group;    // kPermission: the group that owns the device node
  long holderPid = 0;   // kBusy: the process a UUCP lock file names, when one does
  int osError = 0;      // errno of the call that failed, 0 when none
  std::string holderName;  // kBusy: that process's own name ("halvard"), when it can be read
};

// What one write did: how many of its bytes, from the first, left for the device, and
// why the rest did not when not all did. The session log and the count of frames not
// sent both take it from here.
struct PortWriteResult {
  std::size_t written = 0;
  // kNone when every byte was written; else kGone, kStalled, kNotOpen or kOther.
  PortProblem::Kind failure = PortProblem::Kind::kNone;

  bool complete() const { return failure == PortProblem::Kind::kNone; }
};

// One serial port as the dialog programs see it: opened by a stored name, a byte
// pipe with reads that never wait. The real one is TermiosSerialPort; tests use
// FakeSerialPort (tests/fakes).
//
// Contract shared by every implementation:
// - open() closes whatever was open first. On failure the port stays closed and
//   every later call does nothing: writes are lost, reads yield no bytes.
// - Line settings are always 8 data bits, no parity, one stop bit, no flow control.
// - write() returns when the bytes have left (or were lost), with what became of them.
// - readAvailable() returns at once with what has arrived, possibly nothing; an
//   error counts as nothing.
// - When the device goes away while open (a USB adapter unplugged), the port closes
//   itself and problem() says kGone; reopenIfBack() brings it back.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual bool open(const std::string& name, int baud) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual PortWriteResult write(std::string_view bytes) = 0;
  virtual std::string readAvailable(std::size_t maxBytes) = 0;
  // Drops whatever has arrived and not been read yet.
  virtual void purgeInput() = 0;

  // The name and speed of the last open() (kept after a failure or a loss), and the
  // device path that name resolved to (empty when it resolved to none).
  virtual std::string name() const { return {}; }
  virtual int baud() const { return 0; }
  virtual std::string device() const { return {}; }
  // Why the port is not open; kNone while it is open or before any open.
  virtual PortProblem problem() const { return {}; }
  // After the device went away (problem().kind == kGone): when the same name resolves
  // to a device node again, reopens it with the same line settings and speed and
  // returns true. While it is still missing this costs one stat() and returns false.
  virtual bool reopenIfBack() { return false; }
};
