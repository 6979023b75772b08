#include "corvane/session_records.h"

#include <algorithm>
#include <cctype>

#include "common/log_line.h"

namespace {

std::string hexBytes(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (!out.empty()) out += ' ';
    out += kHex[u >> 4];
    out += kHex[u & 0x0F];
  }
  return out;
}

// The time of day of a wall-clock stamp ("09:47:00.118"), or the milliseconds since
// the start when there is none.
std::string timeOfDay(const SessionRecord& r) {
  if (r.wallClock.size() >= 23) return r.wallClock.substr(11, 12);
  return std::to_string(r.ms) + " ms";
}

bool isWire(const std::string& kind) { return kind == "tx" || kind == "rx" || kind == "unsent"; }

}  // namespace

void SessionRecords::add(const std::vector<SessionRecord>& records) {
  for (const SessionRecord& r : records) records_.push_back(r);
  while (records_.size() > kept_) {
    records_.pop_front();
    ++dropped_;
  }
}

void SessionRecords::clear() {
  records_.clear();
  dropped_ = 0;
}

SessionRecords::Line SessionRecords::lineOf(const SessionRecord& r, bool hex) {
  Line line;
  const char* mark = "\u00B7 ";  // a middle dot: a note
  if (r.kind == "tx") {
    line.tone = Tone::kSent;
    mark = "\u2192 ";  // right arrow
  } else if (r.kind == "rx") {
    line.tone = Tone::kReceived;
    mark = "\u2190 ";  // left arrow
  } else if (r.kind == "unsent") {
    line.tone = Tone::kUnsent;
    mark = "\u219B ";  // right arrow struck through
  } else if (r.kind == "alarm") {
    line.tone = Tone::kAlarm;
    mark = "\u2261 ";  // the explanation: triple bar
  } else if (r.kind == "outcome") {
    line.tone = Tone::kOutcome;
    mark = "\u25A0 ";  // black square
  }
  line.text = timeOfDay(r) + "  " + mark;
  if (isWire(r.kind)) {
    line.text += hex ? hexBytes(r.text) : escapeBytes(r.text);
    line.text += r.remark;
  } else {
    // The notes read as in the log, their kind first, except the explanations and
    // outcomes, whose mark says what they are.
    if (line.tone == Tone::kNote) line.text += r.kind + ' ';
    line.text += escapeBytes(r.text) + r.remark;
  }
  return line;
}

bool SessionRecords::matches(const Line& line, std::string_view search) {
  if (search.empty()) return true;
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  return std::search(line.text.begin(), line.text.end(), search.begin(), search.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != line.text.end();
}

std::vector<SessionRecords::Line> SessionRecords::lines(const Options& options) const {
  std::vector<Line> out;
  for (const SessionRecord& r : records_) {
    Line line = lineOf(r, options.hex);
    if (matches(line, options.search)) out.push_back(std::move(line));
  }
  return out;
}

std::string SessionRecords::logText() const {
  std::string text;
  for (const SessionRecord& r : records_) {
    text += formatLogLine(r.wallClock, r.ms, r.kind + ' ' + escapeBytes(r.text) + r.remark);
    text += '\n';
  }
  return text;
}
