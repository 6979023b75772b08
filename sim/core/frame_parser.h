#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "sim/core/frame.h"

namespace zmsim {

// The kind of frame a byte starts: Unknown for a byte that starts none.
FrameKind kindOfLetter(char letter);

// Splits the byte stream from the PC into frames, one byte at a time, with no I/O and
// no clock, so a frame may be split at any byte boundary and the parser can be fed
// anything.
//
// - R and Q frames are three bytes; W, M and K frames five. Their two register (or
//   address) characters must be hex digits: any other byte there ends the partial
//   frame as Incomplete and is then taken as the start of what follows. The value
//   characters are taken as they come (the PC sends typed characters as they are).
// - S frames end at CR. D frames end at CR or by themselves after 16 number
//   characters (the PC sends a 16-digit number without CR).
// - G, B, A, X and a lone CR are one byte; LF and any other byte that starts no frame
//   give an Unknown frame of that byte.
class FrameParser {
 public:
  // S frames longer than this keep only their first bytes; the rest up to the CR is
  // counted in droppedBytes() and not stored, so line noise cannot grow memory.
  static constexpr std::size_t kMaxKeptBytes = 256;
  static constexpr std::size_t kNumberDigits = 16;

  // Takes one byte and appends the frames it completes to out (none, one, or two when
  // it cut a partial frame short).
  void feed(char byte, std::vector<Frame>& out);

  // Ends the partial frame, if any, and returns it as Incomplete (kind otherwise
  // Unknown with no bytes).
  Frame abandon();

  bool midFrame() const { return !partial_.bytes.empty(); }
  // A partial R or Q frame: the module answers it when the line goes quiet.
  bool midQuery() const;
  std::string_view partialBytes() const { return partial_.bytes; }
  std::size_t droppedBytes() const { return dropped_; }

 private:
  void start(char byte, std::vector<Frame>& out);
  void finish(std::vector<Frame>& out);
  std::size_t fixedLength() const;

  Frame partial_;
  std::size_t dropped_ = 0;
};

}  // namespace zmsim
