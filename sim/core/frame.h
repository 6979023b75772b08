#pragma once

#include "common/log_line.h"

#include <string>
#include <string_view>

namespace zmsim {

// What the module makes of the bytes from the PC. Every frame keeps the bytes it was
// made of, letter and terminator included, so the protocol log shows exactly what
// came down the line.
enum class FrameKind {
  LoneCr,       // CR between frames: ignored, or the PC's answer to an M acknowledgement
  Read,         // 'R' RR: working register value
  Query,        // 'Q' RR: stored value
  Write,        // 'W' RR VV: working register
  StoreWrite,   // 'M' RR VV: stored and working value, acknowledged with two bytes
  MemoryWrite,  // 'K' AA VV: message memory D0 to DD
  Message,      // 'S' text CR
  Number,       // 'D' digits CR, or 16 digits without CR
  Go,           // 'G': dial and send
  Next,         // 'B': next message in the same call
  Abort,        // 'A': hang up
  Reset,        // 'X': factory defaults, when register 87 holds 55
  Unknown,      // a byte that starts no frame (terminal mode typing, line noise)
  Incomplete,   // a frame cut short by a byte that cannot continue it
};

struct Frame {
  FrameKind kind = FrameKind::Unknown;
  std::string bytes;

  // The two register (or address) characters of R, Q, W, M and K frames.
  std::string_view reg() const { return std::string_view(bytes).substr(1, 2); }
  // The two value characters of W, M and K frames.
  std::string_view value() const { return std::string_view(bytes).substr(3, 2); }
  // The characters of an S or D frame between the letter and the CR.
  std::string_view text() const;
};

// The bytes as the log shows them (common/log_line.h).
using ::escapeBytes;

// Value of one hex digit (upper or lower case), or -1.
int hexDigitValue(char c);
// Value of two hex digits, or -1 when either is not a hex digit.
int hexPairValue(std::string_view pair);
// Two upper-case hex digits.
std::string hexPair(unsigned value);

}  // namespace zmsim
