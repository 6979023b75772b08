// Checks of the simulator's side of the line: the bytes the PC sends, cut into
// frames, and what the module answers. The input is the byte stream from the PC; its last bytes choose
// the module's options and where the stream is cut into pieces and how far apart in
// time the pieces arrive.
//
// Invariants:
// - the frames hold exactly the stream's bytes, in order, minus only the bytes an
//   overlong S frame drops, and each frame has the shape of its kind;
// - the same frames come out however the stream is cut and whenever the pieces come;
// - every answer to a frame is the one the registers call for (R, Q: two hex digits,
//   M: its acknowledgement a digit at a time, X: its line when armed, at once or, while
//   a split result line waits for its second piece, right after that piece), and
//   nothing else is sent in answer to a byte;
// - the module's own lines (the call, X's line) are at most 24 characters and whole:
//   no line runs into another, none is a piece. Register replies (R, Q, M, the "?" of
//   a stalled query) are sent at once, as the PC reads them within 90 ms, so with the
//   split-report fault one may fall between the two pieces of a result line; nothing
//   else may. The module says nothing of a call when no G, B or A was sent;
// - the protocol log gives back exactly the bytes of every frame.

#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "sim/core/frame.h"
#include "sim/core/frame_parser.h"
#include "sim/core/module.h"
#include "sim/core/protocol_log.h"
#include "sim/sim_test_helpers.h"

namespace sim_frame_checks {

using namespace zmsim;

// The module's lines stay within this, so the PC's 25-column display never breaks one.
constexpr std::size_t kMaxLineChars = 24;
constexpr std::size_t kMaxPieceBytes = 32;
constexpr int kMaxEventsAfterEnd = 2000;
constexpr std::string_view kDefaultsLine = "DEFAULTS RESTORED\r\n";

// What the module said by itself, without the answers to stalled queries.
inline std::string withoutStalledAnswers(std::string_view spoken) {
  std::string rest(spoken);
  for (std::size_t at; (at = rest.find("?\r")) != std::string::npos;) rest.erase(at, 2);
  return rest;
}

// The first piece of a split result line is out and its second is not.
inline bool midLine(std::string_view spoken) {
  while (spoken.ends_with("?\r")) spoken.remove_suffix(2);
  return !spoken.empty() && spoken.back() != '\n';
}

inline std::size_t count(std::string_view text, std::string_view part) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string_view::npos; at += part.size()) ++n;
  return n;
}

// Picks piece lengths and gaps from a 32-bit key the input gives (xorshift).
class Cutter {
 public:
  explicit Cutter(std::uint32_t key) : state_(key | 1u) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

 private:
  std::uint32_t state_;
};

inline std::vector<std::string> cut(std::string_view stream, std::uint32_t key) {
  Cutter cutter(key);
  std::vector<std::string> pieces;
  std::size_t at = 0;
  while (at < stream.size()) {
    std::size_t length = 1 + cutter.next() % kMaxPieceBytes;
    pieces.emplace_back(stream.substr(at, length));
    at += length;
  }
  return pieces;
}

inline bool isFixedLength(FrameKind kind) {
  return kind == FrameKind::Read || kind == FrameKind::Query || kind == FrameKind::Write ||
         kind == FrameKind::StoreWrite || kind == FrameKind::MemoryWrite;
}

inline void checkShape(const Frame& f) {
  const std::string& b = f.bytes;
  FUZZ_CHECK(!b.empty(), "an empty frame");
  const std::string shown = fuzz::visible(b);
  switch (f.kind) {
    case FrameKind::Read:
    case FrameKind::Query:
      FUZZ_CHECK(b.size() == 3 && hexPairValue(f.reg()) >= 0, "R/Q frame " + shown);
      break;
    case FrameKind::Write:
    case FrameKind::StoreWrite:
    case FrameKind::MemoryWrite:
      FUZZ_CHECK(b.size() == 5 && hexPairValue(f.reg()) >= 0, "W/M/K frame " + shown);
      break;
    case FrameKind::Message:
      FUZZ_CHECK(b.size() <= FrameParser::kMaxKeptBytes + 1 && b.back() == '\r' &&
                     b.find('\r') == b.size() - 1,
                 "S frame " + shown);
      break;
    case FrameKind::Number: {
      const bool byCr = b.back() == '\r' && b.find('\r') == b.size() - 1 &&
                        b.size() <= FrameParser::kNumberDigits + 1;
      const bool byCount =
          b.find('\r') == std::string::npos && b.size() == FrameParser::kNumberDigits + 1;
      FUZZ_CHECK(byCr || byCount, "D frame " + shown);
      break;
    }
    case FrameKind::Incomplete:
      // Cut short by a non-hex register character: the letter and at most one digit.
      FUZZ_CHECK(b.size() <= 2 && isFixedLength(kindOfLetter(b[0])) &&
                     (b.size() == 1 || hexDigitValue(b[1]) >= 0),
                 "incomplete frame " + shown);
      return;
    default:
      FUZZ_CHECK(b.size() == 1, "one-byte frame " + shown);
      break;
  }
  FUZZ_CHECK(kindOfLetter(b[0]) == f.kind, "frame kind and letter differ: " + shown);
}

// Walks the stream along the frames: each frame must be the next bytes of the stream,
// except that an S frame at its size limit skips the bytes up to its CR.
inline void checkCoverage(std::string_view stream, const std::vector<Frame>& frames,
                   std::string_view partial, std::size_t dropped) {
  std::size_t at = 0;
  std::size_t skipped = 0;
  for (const Frame& f : frames) {
    const std::string& b = f.bytes;
    if (stream.substr(at, b.size()) == b) {
      at += b.size();
      continue;
    }
    const std::size_t kept = FrameParser::kMaxKeptBytes;
    FUZZ_CHECK(f.kind == FrameKind::Message && b.size() == kept + 1 &&
                   stream.substr(at, kept) == std::string_view(b).substr(0, kept),
               "a frame that is not the next bytes of the stream: " + fuzz::visible(b));
    const std::size_t cr = stream.find('\r', at + kept);
    FUZZ_CHECK(cr != std::string_view::npos, "an S frame's CR that was never sent");
    skipped += cr - (at + kept);
    at = cr + 1;
  }
  FUZZ_CHECK(stream.substr(at, partial.size()) == partial, "the partial frame is not the stream's tail");
  if (partial.size() == FrameParser::kMaxKeptBytes && partial[0] == 'S') {
    // An S frame at its limit: what follows its kept bytes is dropped, and holds no CR.
    const std::string_view rest = stream.substr(at + partial.size());
    FUZZ_CHECK(rest.find('\r') == std::string_view::npos, "a CR that did not end the S frame");
    skipped += rest.size();
    at = stream.size();
  } else {
    at += partial.size();
  }
  FUZZ_CHECK(at == stream.size(), "stream bytes lost between the frames");
  FUZZ_CHECK(skipped == dropped, "droppedBytes() does not count the dropped bytes");
}

inline std::string unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '<') {
      out += text[i];
    } else if (text.substr(i, 4) == "<CR>") {
      out += '\r';
      i += 3;
    } else if (text.substr(i, 4) == "<LF>") {
      out += '\n';
      i += 3;
    } else {
      FUZZ_CHECK(i + 3 < text.size() && text[i + 3] == '>', "a bad escape in the log");
      int value = hexPairValue(text.substr(i + 1, 2));
      FUZZ_CHECK(value >= 0, "a bad escape in the log");
      out += static_cast<char>(value);
      i += 3;
    }
  }
  return out;
}

inline void checkLog(const Frame& f, std::int64_t ms) {
  std::string escaped = escapeBytes(f.bytes);
  for (char c : escaped) {
    auto u = static_cast<unsigned char>(c);
    FUZZ_CHECK(u >= 0x20 && u < 0x7F, "the log shows a raw control byte");
  }
  FUZZ_CHECK(unescape(escaped) == f.bytes, "the log does not give back the frame's bytes");
  std::optional<LogLine> line = parseLogLine(formatLogLine(ms, "rx " + escaped));
  FUZZ_CHECK(line && line->ms == ms && line->kind == "rx" && line->text == escaped,
             "a log line does not read back");
}

inline std::vector<Frame> parseWhole(std::string_view stream, std::string& partial, std::size_t& dropped) {
  FrameParser parser;
  std::vector<Frame> frames;
  for (char c : stream) parser.feed(c, frames);
  partial = std::string(parser.partialBytes());
  dropped = parser.droppedBytes();
  return frames;
}

inline bool sameFrames(const std::vector<Frame>& a, const std::vector<Frame>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].kind != b[i].kind || a[i].bytes != b[i].bytes) return false;
  }
  return true;
}

// What the module must answer at once to the frames one byte completed.
inline std::string expectedAnswer(const Frame& f, const RegisterMap& regs, bool wasArmed,
                           std::string& ackSecond) {
  switch (f.kind) {
    case FrameKind::Read: return hexPair(regs.working(static_cast<std::uint8_t>(hexPairValue(f.reg()))));
    case FrameKind::Query: return hexPair(regs.stored(static_cast<std::uint8_t>(hexPairValue(f.reg()))));
    case FrameKind::StoreWrite: {
      std::string ack = "??";
      if (hexPairValue(f.value()) >= 0) {
        ack = hexPair(regs.stored(static_cast<std::uint8_t>(hexPairValue(f.reg()))));
      }
      ackSecond = ack.substr(1);
      return ack.substr(0, 1);
    }
    case FrameKind::Reset: return wasArmed ? std::string(kDefaultsLine) : "";
    default: return "";
  }
}

inline void checkLines(std::string_view spoken) {
  std::size_t start = 0;
  while (start <= spoken.size()) {
    std::size_t end = spoken.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = spoken.size();
    std::string_view line = spoken.substr(start, end - start);
    // The flood fault is a burst of long trace lines on purpose, to load the PC.
    if (line.substr(0, 6) != "TRACE ") {
      FUZZ_CHECK(line.size() <= kMaxLineChars, "a module line over 24 characters: " +
                                                    fuzz::visible(line));
    }
    start = end + 1;
  }
}

// The pieces arrive at times apart, the module's time moves on between them, and every
// byte's answer is taken on its own.
inline void runTimed(const std::vector<std::string>& pieces, const ModuleOptions& options,
              std::uint32_t key, const std::vector<Frame>& whole) {
  Module module(options);
  std::vector<Frame> frames;
  module.setFrameSink([&](const Frame& f, std::int64_t) { frames.push_back(f); });
  Cutter gaps(key ^ 0x9E3779B9u);
  std::int64_t now = 0;
  std::string spoken;  // what the module said by itself, over time
  std::string ackSecond;
  bool callAsked = false;
  std::size_t defaultsWaiting = 0;  // X's lines held back for a split line's second piece
  bool deliveryPossible = false;

  auto runUntil = [&](std::int64_t toMs) {
    for (int i = 0; i < kMaxEventsAfterEnd; ++i) {
      std::optional<std::int64_t> next = module.nextEventMs();
      if (!next || *next > toMs) break;
      module.advance(*next);
      spoken += module.takeOutput();
    }
    module.advance(toMs);
    spoken += module.takeOutput();
  };

  for (const std::string& piece : pieces) {
    std::uint32_t g = gaps.next();
    // Mostly close together (a frame sequence), now and then a long wait (a call).
    now += (g & 3) ? g % 60 : g % (options.callLengthMs + 1000);
    runUntil(now);
    for (char byte : piece) {
      const bool armed = module.registers().resetArmed();
      const std::size_t before = frames.size();
      module.receive(std::string_view(&byte, 1), now);
      std::string answer = module.takeOutput();
      std::string expected = byte == '\r' ? ackSecond : "";
      ackSecond.clear();
      for (std::size_t i = before; i < frames.size(); ++i) {
        const Frame& f = frames[i];
        std::string due = expectedAnswer(f, module.registers(), armed, ackSecond);
        if (f.kind == FrameKind::Reset && armed && midLine(spoken)) {
          due.clear();
          ++defaultsWaiting;
        }
        expected += due;
        if (f.kind == FrameKind::Go || f.kind == FrameKind::Next || f.kind == FrameKind::Abort) {
          callAsked = true;
        }
        if ((f.kind == FrameKind::Go || f.kind == FrameKind::Next) &&
            !module.registers().number().empty()) {
          deliveryPossible = true;
        }
      }
      FUZZ_CHECK(answer == expected, "answer " + fuzz::visible(answer) + " where " +
                                         fuzz::visible(expected) + " was due");
    }
  }
  runUntil(now + 10 * (options.callLengthMs + 1000) + 600000);

  FUZZ_CHECK(sameFrames(frames, whole), "the frames depend on how the stream was cut");
  FUZZ_CHECK(module.registers().number().size() <= RegisterMap::kMaxNumberDigits,
             "a telephone number over 16 digits");
  FUZZ_CHECK(module.registers().message().size() <= RegisterMap::kMaxMessageBytes,
             "a message over 32 bytes");
  checkLines(spoken);
  const std::string own = withoutStalledAnswers(spoken);
  FUZZ_CHECK(own.empty() || own.back() == '\n', "a line never finished: " + fuzz::visible(own));
  for (const std::string& line : zmsim::testing::linesOf(own)) {
    FUZZ_CHECK(zmsim::testing::knownLine(line), "a line that is not whole: " + fuzz::visible(line));
  }
  FUZZ_CHECK(count(own, kDefaultsLine) == defaultsWaiting,
             "X's line lost or sent twice while a split line waited");
  if (!callAsked) {
    FUZZ_CHECK(own.empty(), "the module spoke unasked: " + fuzz::visible(own));
  }
  if (!deliveryPossible || options.outcomes.front() != Outcome::Deliver) {
    // A line of its own: the PC's number or message may hold the words too.
    const std::vector<std::string> lines = zmsim::testing::linesOf(own);
    FUZZ_CHECK(std::find(lines.begin(), lines.end(), "MESSAGE SUCCESS") == lines.end(),
               "a delivery the PC never asked for");
  }
}

// One input: the checks above. The split-report fault is taken from the input only
// when withSplitReport is set.
inline int run(const std::uint8_t* data, std::size_t size, bool withSplitReport) {
  FuzzedDataProvider input(data, size);
  // Choices come from the input's end, so a corpus file is the stream plus a few bytes.
  ModuleOptions options;
  options.outcomes = {static_cast<Outcome>(input.ConsumeIntegralInRange<int>(0, 2))};
  const auto faults = input.ConsumeIntegral<std::uint8_t>();
  options.faults.nulBeforeReport = faults & 1;
  options.faults.splitReport = withSplitReport && (faults & 2);
  options.faults.flood = faults & 4;
  options.callLengthMs = input.ConsumeIntegralInRange<int>(100, 8000);
  const auto key = input.ConsumeIntegral<std::uint32_t>();
  const std::string stream = input.ConsumeRemainingBytesAsString();

  std::string partial;
  std::size_t dropped = 0;
  const std::vector<Frame> whole = parseWhole(stream, partial, dropped);
  for (const Frame& f : whole) {
    checkShape(f);
    checkLog(f, static_cast<std::int64_t>(key));
  }
  checkCoverage(stream, whole, partial, dropped);

  // The same stream in pieces, all at one moment: the same frames, answers and state.
  const std::vector<std::string> pieces = cut(stream, key);
  Module atOnce(options);
  Module inPieces(options);
  std::vector<Frame> framesAtOnce;
  std::vector<Frame> framesInPieces;
  atOnce.setFrameSink([&](const Frame& f, std::int64_t) { framesAtOnce.push_back(f); });
  inPieces.setFrameSink([&](const Frame& f, std::int64_t) { framesInPieces.push_back(f); });
  atOnce.receive(stream, 0);
  std::string answersInPieces;
  for (const std::string& piece : pieces) {
    inPieces.receive(piece, 0);
    answersInPieces += inPieces.takeOutput();
  }
  FUZZ_CHECK(sameFrames(framesAtOnce, whole), "the module's frames differ from the parser's");
  FUZZ_CHECK(sameFrames(framesInPieces, whole), "the frames depend on how the stream was cut");
  FUZZ_CHECK(atOnce.takeOutput() == answersInPieces, "the answers depend on how the stream was cut");
  FUZZ_CHECK(atOnce.registers().dump() == inPieces.registers().dump(),
             "the registers depend on how the stream was cut");

  runTimed(pieces, options, key, whole);
  return 0;
}

}  // namespace sim_frame_checks
