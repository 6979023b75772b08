#include "sim/core/protocol_log.h"

#include <cstdio>

namespace zmsim {

std::string formatLogLine(std::int64_t ms, std::string_view text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%8lld ms  ", static_cast<long long>(ms));
  std::string out = stamp;
  out += text;
  return out;
}

void ProtocolLog::line(std::int64_t ms, std::string_view text) {
  std::string formatted = formatLogLine(ms, text);
  if (file_ && file_->isOpen()) {
    if (file_->full(formatted.size())) file_->writeLine(formatLogLine(ms, file_->rotate()));
    file_->writeLine(formatted);
  }
  if (!out_) return;
  *out_ << formatted << '\n';
  out_->flush();
}

void ProtocolLog::received(const Frame& frame, std::int64_t ms) {
  std::string text = "rx " + escapeBytes(frame.bytes);
  if (frame.kind == FrameKind::Incomplete) text += "  # incomplete";
  line(ms, text);
}

void ProtocolLog::sent(std::string_view bytes, std::int64_t ms) {
  line(ms, "tx " + escapeBytes(bytes));
}

void ProtocolLog::dump(const RegisterMap& registers, std::int64_t ms) {
  std::string all = registers.dump();
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    line(ms, std::string_view(all).substr(start, end - start));
    start = end + 1;
  }
}

std::optional<LogLine> parseLogLine(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  std::size_t unit = text.find(" ms  ", first);
  if (unit == std::string_view::npos || unit == first) return std::nullopt;
  LogLine parsed;
  for (std::size_t i = first; i < unit; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    parsed.ms = parsed.ms * 10 + (text[i] - '0');
  }
  std::string_view rest = text.substr(unit + 5);
  std::size_t space = rest.find(' ');
  parsed.kind = std::string(rest.substr(0, space));
  if (space != std::string_view::npos) parsed.text = std::string(rest.substr(space + 1));
  return parsed;
}

}  // namespace zmsim
