#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/rotating_log_file.h"
#include "common/serial_port.h"
#include "common/status_line.h"

// The record of a bench session that an installer can show: every byte Corvane sent
// and received, with its time, and what happened around it, appended to
// "./corvane.log" one event per line in the wire log form (common/log_line.h):
//
//        0 ms  start 2026-12-08 09:14:03 Corvane V4.9 port COM1: /dev/ttyUSB0 9600 baud
//      412 ms  action transmit Contact-ID
//      412 ms  alarm message 1: Contact-ID 1234: new event 130 Burglary, partition 01, ...
//      412 ms  tx W3D01
//     9900 ms  rx MESSAGE SUCCESS<CR><LF>
//    50100 ms  timeout error: communication timeout
//
// Recording only fills a buffer in memory, so it may happen inside a timed sequence
// without stretching a pause; flush() writes the buffer out and is called where the
// dialog is idle (the end of a handler or a tick). The file is moved aside to
// "./corvane.log.1" before it passes kRotateBytes. When the log cannot be written the
// status line says so once; the session itself goes on unchanged.
class SessionLog {
 public:
  // Milliseconds since the session started. Tests pass the virtual clock's time.
  using MsSource = std::function<std::int64_t()>;
  static constexpr std::uintmax_t kRotateBytes = 1024 * 1024;
  static constexpr const char* kFileName = "corvane.log";

  struct Start {
    std::string dateTime;  // local date and time, see localDateTime()
    std::string version;   // "V4.9"
    std::string portName;  // as stored ("COM1:")
    std::string device;    // what the name resolved to; empty when nothing
    int baud = 0;          // 0 when the port did not open
  };

  SessionLog(const std::filesystem::path& workDir, MsSource sinceStartMs, StatusLine& status,
             std::uintmax_t rotateBytes = kRotateBytes);
  // Flushes what is left, so the last bytes of a session are kept at exit; the status
  // line must still be there.
  ~SessionLog() { flush(); }
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;

  // The bytes of one write that reached the port's driver, of one read from the module
  // (nothing when empty), and of a write (or its rest) that went nowhere, with why
  // (kGone, kStalled; anything else reads "port not open"). atMs is the time of the
  // write, by default now.
  void sent(std::string_view bytes, std::optional<std::int64_t> atMs = {});
  void received(std::string_view bytes);
  void unsent(std::string_view bytes, PortProblem::Kind why = PortProblem::Kind::kNotOpen,
              std::optional<std::int64_t> atMs = {});
  // Milliseconds since the session started, the time events are stamped with.
  std::int64_t nowMs() const { return sinceStartMs_(); }

  // The session's start, with the port and speed that start-up settled on. It goes
  // ahead of the events not yet written (start-up's own bytes), at the time of the
  // first of them, so a session's part of the file begins with it.
  void noteStart(const Start& start);
  // An operator's action that sends to the module: which button, in which format
  // (empty when the format does not matter).
  void noteAction(std::string_view button, std::string_view format = {});
  // A communication time-out, in the words the display shows.
  void noteTimeout(std::string_view message);
  // What a station would make of alarm message n (1 to 8) as it goes out: the one-line
  // summary of its explanation (common/alarm_message.h).
  void noteAlarm(int n, std::string_view summary);

  // A status line that notes every message it is given as a "status" line: what the
  // user was told about the port (opened, failed, lost, back) and the files. Added to
  // the program's StatusFanOut; lives as long as the log.
  StatusLine& statusNotes() { return statusNotes_; }

  // Writes every event recorded since the last flush; with none, touches nothing.
  void flush();
  bool hasPending() const { return !pending_.empty(); }

  // The real time source: milliseconds of the steady clock since this call.
  static MsSource steadySinceNow();
  // The wall clock's local date and time as "2026-12-08 09:14:03".
  static std::string localDateTime();

 private:
  // Kept raw: escaping and formatting wait for flush(), outside the timed sequences.
  struct Event {
    std::int64_t ms;
    const char* word;
    std::string text;
    const char* remark;  // after the escaped text as it stands; may be empty
  };
  void record(const char* word, std::string text, const char* remark = "",
              std::optional<std::int64_t> atMs = {});

  class StatusNotes : public StatusLine {
   public:
    explicit StatusNotes(SessionLog& log) : log_(log) {}
    void show(const std::string& message) override { log_.record("status", message); }

   private:
    SessionLog& log_;
  };

  RotatingLogFile file_;
  MsSource sinceStartMs_;
  StatusLine& status_;
  StatusNotes statusNotes_{*this};
  std::vector<Event> pending_;
  std::string lostProblem_;  // why the events of failed flushes are missing
  std::size_t lostEvents_ = 0;
  bool failing_ = false;  // the status line has been told; not again until it works
};
