#include "corvane/protocol/register_reads.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::size_t kReplyChars = 2;
// More than the module sends between two queries; one read that never waits.
constexpr std::size_t kWaitingInputBytes = 256;

std::string quoted(std::string_view bytes) { return "\"" + printableBytes(bytes) + "\""; }

}  // namespace

std::string printableBytes(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string RegisterReads::query(std::string_view frame) {
  dropWaitingInput(frame);
  std::size_t owedBefore = 0;
  for (const Owed& o : owed_) owedBefore += o.chars;
  const std::string reply = link_.queryRegister(frame);
  const std::string lateFrame = settleOwed(reply.size());
  const std::size_t own = reply.size() - std::min(reply.size(), owedBefore);
  if (own < kReplyChars) owed_.push_back({std::string(frame), kReplyChars - own});

  if (!lateFrame.empty()) {
    note(frame, quoted(reply) + " not taken, as it may be the late reply to " + lateFrame);
    return {};
  }
  if (reply.empty()) {
    note(frame, "no reply");
  } else if (reply.size() < kReplyChars) {
    note(frame, quoted(reply) + ", one character");
  } else if (!isHexPair(reply)) {
    note(frame, quoted(reply) + ", not two hex digits");
  }
  return reply.size() == kReplyChars ? reply : std::string();
}

void RegisterReads::report() {
  if (notes_.empty() || !link_.port().isOpen()) return;
  std::string message = "start-up register reads: ";
  for (std::size_t i = 0; i < notes_.size(); ++i) message += (i > 0 ? "; " : "") + notes_[i];
  status_.show(message + " (a register without a whole reply keeps its controls' start values)");
}

void RegisterReads::dropWaitingInput(std::string_view beforeFrame) {
  const std::string waiting = link_.readUpTo(kWaitingInputBytes);
  if (waiting.empty()) return;
  const std::string lateFrame = settleOwed(waiting.size());
  const std::string what = quoted(waiting) + " came before " + std::string(beforeFrame);
  if (lateFrame.empty()) {
    notes_.push_back(what + " was sent, dropped");
  } else {
    note(lateFrame, "replied late, " + what + " was sent, dropped");
  }
}

std::string RegisterReads::settleOwed(std::size_t n) {
  std::string first = owed_.empty() || n == 0 ? std::string() : owed_.front().frame;
  while (n > 0 && !owed_.empty()) {
    const std::size_t taken = std::min(n, owed_.front().chars);
    owed_.front().chars -= taken;
    n -= taken;
    if (owed_.front().chars == 0) owed_.pop_front();
  }
  return first;
}

void RegisterReads::note(std::string_view frame, const std::string& what) {
  notes_.push_back(std::string(frame) + " " + what);
}
