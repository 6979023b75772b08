#include "corvane/session_log.h"

#include <chrono>
#include <ctime>

#include "common/log_line.h"

SessionLog::SessionLog(const std::filesystem::path& workDir, MsSource sinceStartMs,
                       StatusLine& status, std::uintmax_t rotateBytes)
    : file_(workDir / kFileName, rotateBytes), sinceStartMs_(std::move(sinceStartMs)),
      status_(status) {}

void SessionLog::record(const char* word, std::string text, const char* remark,
                        std::optional<std::int64_t> atMs) {
  pending_.push_back(Event{atMs ? *atMs : sinceStartMs_(), word, std::move(text), remark});
}

void SessionLog::sent(std::string_view bytes, std::optional<std::int64_t> atMs) {
  record("tx", std::string(bytes), "", atMs);
}

void SessionLog::received(std::string_view bytes) {
  if (!bytes.empty()) record("rx", std::string(bytes));
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
}

void SessionLog::noteTimeout(std::string_view message) {
  record("timeout", std::string(message));
}

void SessionLog::noteAlarm(int n, std::string_view summary) {
  record("alarm", "message " + std::to_string(n) + ": " + std::string(summary));
}

void SessionLog::flush() {
  if (pending_.empty()) return;
  std::string text;
  if (lostEvents_ > 0) {
    // The record says where it has a hole, so it is never taken for complete.
    text += formatLogLine(pending_.front().ms, "lost " + std::to_string(lostEvents_) +
                                                   " events not written: " + lostProblem_);
    text += '\n';
  }
  for (const Event& e : pending_) {
    // Every text is escaped, so one event is one line whatever a port name holds.
    text += formatLogLine(e.ms, std::string(e.word) + ' ' + escapeBytes(e.text) + e.remark);
    text += '\n';
  }
  const std::size_t events = pending_.size();
  pending_.clear();

  RotatingLogFile::Result result = file_.append(text);
  if (result.written) {
    lostEvents_ = 0;
  } else {
    lostEvents_ += events;
    lostProblem_ = escapeBytes(result.problem);
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
