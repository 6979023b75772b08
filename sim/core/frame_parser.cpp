#include "sim/core/frame_parser.h"

#include <utility>

namespace zmsim {

FrameKind kindOfLetter(char letter) {
  switch (letter) {
    case 'R': return FrameKind::Read;
    case 'Q': return FrameKind::Query;
    case 'W': return FrameKind::Write;
    case 'M': return FrameKind::StoreWrite;
    case 'K': return FrameKind::MemoryWrite;
    case 'S': return FrameKind::Message;
    case 'D': return FrameKind::Number;
    case 'G': return FrameKind::Go;
    case 'B': return FrameKind::Next;
    case 'A': return FrameKind::Abort;
    case 'X': return FrameKind::Reset;
    case '\r': return FrameKind::LoneCr;
    default: return FrameKind::Unknown;
  }
}

namespace {

bool isSingleByte(FrameKind kind) {
  return kind == FrameKind::Go || kind == FrameKind::Next || kind == FrameKind::Abort ||
         kind == FrameKind::Reset || kind == FrameKind::LoneCr || kind == FrameKind::Unknown;
}

}  // namespace

std::size_t FrameParser::fixedLength() const {
  switch (partial_.kind) {
    case FrameKind::Read:
    case FrameKind::Query: return 3;
    case FrameKind::Write:
    case FrameKind::StoreWrite:
    case FrameKind::MemoryWrite: return 5;
    default: return 0;
  }
}

bool FrameParser::midQuery() const {
  return midFrame() && (partial_.kind == FrameKind::Read || partial_.kind == FrameKind::Query);
}

void FrameParser::feed(char byte, std::vector<Frame>& out) {
  if (!midFrame()) {
    start(byte, out);
    return;
  }
  std::size_t length = fixedLength();
  if (length > 0) {
    std::size_t position = partial_.bytes.size();
    if (position <= 2 && hexDigitValue(byte) < 0) {
      out.push_back(abandon());
      start(byte, out);
      return;
    }
    partial_.bytes += byte;
    if (partial_.bytes.size() == length) finish(out);
    return;
  }
  // S or D: variable length.
  if (byte == '\r') {
    partial_.bytes += byte;
    finish(out);
    return;
  }
  if (partial_.bytes.size() < kMaxKeptBytes) {
    partial_.bytes += byte;
  } else {
    ++dropped_;
  }
  if (partial_.kind == FrameKind::Number && partial_.bytes.size() == 1 + kNumberDigits) {
    finish(out);
  }
}

void FrameParser::start(char byte, std::vector<Frame>& out) {
  FrameKind kind = kindOfLetter(byte);
  if (isSingleByte(kind)) {
    out.push_back(Frame{kind, std::string(1, byte)});
    return;
  }
  partial_ = Frame{kind, std::string(1, byte)};
}

void FrameParser::finish(std::vector<Frame>& out) {
  out.push_back(std::move(partial_));
  partial_ = Frame{};
}

Frame FrameParser::abandon() {
  if (!midFrame()) return Frame{};
  Frame cut{FrameKind::Incomplete, std::move(partial_.bytes)};
  partial_ = Frame{};
  return cut;
}

}  // namespace zmsim
