#pragma once

#include <chrono>
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
#include "corvane/session_record.h"
#include "corvane/state/alarm_outcome.h"

// The record of a bench session that an installer can show: every byte Corvane sent
// and received, with its time, and what happened around it, appended to
// "./corvane.log" one event per line in the wire log form led by the wall-clock time
// (common/log_line.h):
//
//   2026-12-08T09:14:03.201+01:00        0 ms  start 2026-12-08 09:14:03 Corvane V4.9 ...
//   2026-12-08T09:14:03.613+01:00      412 ms  action transmit Contact-ID
//   2026-12-08T09:14:03.613+01:00      412 ms  alarm message 1: Contact-ID 1234: ...
//   2026-12-08T09:14:03.613+01:00      412 ms  tx W3D01<CR>
//   2026-12-08T09:14:13.101+01:00     9900 ms  rx MESSAGE SUCCESS<CR><LF>
//   2026-12-08T09:14:13.201+01:00    10000 ms  outcome message 1 delivered after 9488 ms
//   2026-12-08T09:15:01.007+01:00    57806 ms  end Corvane closed
//
// A frame written byte by byte is one tx line, stamped with its first byte's time: the
// bytes of consecutive writes less than kFrameGapMs apart are joined, up to a CR (a
// frame's end) or until another kind of event comes; frames are kept apart by longer
// pauses than the bytes of one. Each alarm message gets an outcome line (corvane/state/
// alarm_outcome.h); the session ends with an end line however the program ends.
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
  // The longest pause between two writes of one frame (an S frame's characters go out
  // 30 ms apart; frames are 50 ms or more apart).
  static constexpr std::int64_t kFrameGapMs = 40;
  static constexpr const char* kFileName = "corvane.log";

  struct Start {
    std::string dateTime;  // local date and time, see localDateTime()
    std::string version;   // "V4.9"
    std::string portName;  // as stored ("COM1:")
    std::string device;    // what the name resolved to; empty when nothing
    int baud = 0;          // 0 when the port did not open
  };

  // wallAtStart: the wall-clock time at which sinceStartMs was 0; each line's wall-clock
  // time is that plus its milliseconds, so the two stamps of a line always agree.
  SessionLog(const std::filesystem::path& workDir, MsSource sinceStartMs, StatusLine& status,
             std::uintmax_t rotateBytes = kRotateBytes,
             std::chrono::system_clock::time_point wallAtStart = std::chrono::system_clock::now());
  // Ends the session (noteEnd()) unless that was done, and flushes what is left, so
  // the last bytes of a session are kept at exit; the status line must still be there.
  ~SessionLog();
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
  // That alarm message is watched from now on for how it ends (one outcome line).
  void noteAlarm(int n, std::string_view summary);
  // The dialog acted on the module's delivery report.
  void noteDelivered();
  // The program ends; what ends it, when known ("closed", "SIGTERM"). Once only.
  void noteEnd(std::string_view how = "closed");

  // A status line that notes every message it is given as a "status" line: what the
  // user was told about the port (opened, failed, lost, back) and the files. Added to
  // the program's StatusFanOut; lives as long as the log.
  StatusLine& statusNotes() { return statusNotes_; }

  // Writes every event recorded since the last flush; with none, touches nothing.
  // The written events go to the reader as well, in the same order (the session view).
  void flush();
  using Reader = std::function<void(const std::vector<SessionRecord>&)>;
  void setReader(Reader reader) { reader_ = std::move(reader); }
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
  void noteOutcome(const std::optional<std::string>& line);

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
  std::chrono::system_clock::time_point wallAtStart_;
  std::vector<Event> pending_;
  AlarmOutcome outcome_;
  Reader reader_;
  std::int64_t lastTxMs_ = 0;  // the time of the last write, joined or not
  bool ended_ = false;
  std::string lostProblem_;  // why the events of failed flushes are missing
  std::size_t lostEvents_ = 0;
  bool failing_ = false;  // the status line has been told; not again until it works
};
