#include "corvane/session_log.h"

#include <chrono>
#include <ctime>

#include "common/log_line.h"

SessionLog::SessionLog(const std::filesystem::path& workDir, MsSource sinceStartMs,
                       StatusLine& status, std::uintmax_t rotateBytes,
                       std::chrono::system_clock::time_point wallAtStart)
    : file_(workDir / kFileName, rotateBytes), sinceStartMs_(std::move(sinceStartMs)),
      status_(status), wallAtStart_(wallAtStart) {}

SessionLog::~SessionLog() {
  noteEnd();
  flush();
}

void SessionLog::record(const char* word, std::string text, const char* remark,
                        std::optional<std::int64_t> atMs) {
  pending_.push_back(Event{atMs ? *atMs : sinceStartMs_(), word, std::move(text), remark});
}

void SessionLog::sent(std::string_view bytes, std::optional<std::int64_t> atMs) {
  const std::int64_t ms = atMs ? *atMs : sinceStartMs_();
  const std::int64_t sincePrevious = ms - lastTxMs_;
  lastTxMs_ = ms;
  // The rest of a frame written byte by byte joins its beginning: the module's frames
  // are written without a longer pause inside, and a CR ends one.
  if (!pending_.empty() && sincePrevious <= kFrameGapMs) {
    Event& last = pending_.back();
    if (std::string_view(last.word) == "tx" && !last.text.empty() && last.text.back() != '\r') {
      last.text += bytes;
      return;
    }
  }
  record("tx", std::string(bytes), "", ms);
}

void SessionLog::received(std::string_view bytes) {
  if (bytes.empty()) return;
  const std::int64_t ms = sinceStartMs_();
  record("rx", std::string(bytes), "", ms);
  noteOutcome(outcome_.received(bytes, ms));
}

void SessionLog::noteOutcome(const std::optional<std::string>& line) {
  if (line) record("outcome", *line);
}

void SessionLog::unsent(std::string_view bytes, PortProblem::Kind why,
                        std::optional<std::int64_t> atMs) {
  const char* remark = why == PortProblem::Kind::kGone      ? "  # device gone"
                       : why == PortProblem::Kind::kStalled ? "  # device stopped taking bytes"
                                                            : "  # port not open";
  record("unsent", std::string(bytes), remark, atMs);
}

void SessionLog::noteStart(const Start& start) {
  std::string text = start.dateTime + " Corvane " + start.version + " port " +
                     (start.portName.empty() ? "(none)" : start.portName) + " " +
                     (start.device.empty() ? "(no device)" : start.device) + " ";
  text += start.baud > 0 ? std::to_string(start.baud) + " baud" : "not open";
  const std::int64_t ms = pending_.empty() ? sinceStartMs_() : pending_.front().ms;
  pending_.insert(pending_.begin(), Event{ms, "start", std::move(text), ""});
}

void SessionLog::noteAction(std::string_view button, std::string_view format) {
  std::string text(button);
  if (!format.empty()) {
    text += ' ';
    text += format;
  }
  record("action", std::move(text));
  if (button == "abort") noteOutcome(outcome_.noReport(nowMs(), "aborted"));
}

void SessionLog::noteTimeout(std::string_view message) {
  record("timeout", std::string(message));
  noteOutcome(outcome_.noReport(nowMs(), message));
}

void SessionLog::noteAlarm(int n, std::string_view summary) {
  const std::int64_t ms = nowMs();
  noteOutcome(outcome_.start(n, ms));
  record("alarm", "message " + std::to_string(n) + ": " + std::string(summary), "", ms);
}

void SessionLog::noteDelivered() { noteOutcome(outcome_.delivered(nowMs())); }

void SessionLog::noteEnd(std::string_view how) {
  if (ended_) return;
  ended_ = true;
  const std::int64_t ms = nowMs();
  noteOutcome(outcome_.noReport(ms, "the program ended"));
  record("end", "Corvane " + std::string(how), "", ms);
}

void SessionLog::flush() {
  if (pending_.empty()) return;
  std::vector<SessionRecord> records;
  records.reserve(pending_.size() + 1);
  const auto wallClock = [this](std::int64_t ms) {
    return formatWallClock(wallAtStart_ + std::chrono::milliseconds(ms));
  };
  if (lostEvents_ > 0) {
    // The record says where it has a hole, so it is never taken for complete.
    const std::int64_t ms = pending_.front().ms;
    records.push_back(SessionRecord{wallClock(ms), ms, "lost",
                                    std::to_string(lostEvents_) +
                                        " events not written: " + lostProblem_,
                                    ""});
  }
  for (Event& e : pending_) {
    records.push_back(SessionRecord{wallClock(e.ms), e.ms, e.word, std::move(e.text), e.remark});
  }
  std::string text;
  for (const SessionRecord& r : records) {
    // Every text is escaped, so one event is one line whatever a port name holds.
    text += formatLogLine(r.wallClock, r.ms, r.kind + ' ' + escapeBytes(r.text) + r.remark);
    text += '\n';
  }
  const std::size_t events = pending_.size();
  pending_.clear();
  if (reader_) reader_(records);

  RotatingLogFile::Result result = file_.append(text);
  if (result.written) {
    lostEvents_ = 0;
  } else {
    lostEvents_ += events;
    lostProblem_ = result.problem;
  }
  if (result.problem.empty()) {
    failing_ = false;
    return;
  }
  if (failing_) return;
  failing_ = true;
  status_.show("session log ./" + std::string(kFileName) +
               (result.written ? ": " : " not written: ") + result.problem);
}

SessionLog::MsSource SessionLog::steadySinceNow() {
  const auto start = std::chrono::steady_clock::now();
  return [start] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now() - start)
        .count();
  };
}

std::string SessionLog::localDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}
