#include "sim/core/protocol_log.h"

#include <cstdio>

namespace zmsim {

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

}  // namespace zmsim
