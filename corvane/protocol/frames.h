#pragma once

#include <string>
#include <string_view>

#include "corvane/module_link.h"

// The module's command frames: plain ASCII, register numbers and values as two
// upper-case hex digits, no framing, no checksum.
namespace frames {

constexpr char kCr = '\r';

// Two upper-case hex digits of v (0 to 255), most significant first.
std::string byteToHexPair(int v);

// An M frame with acknowledgement: CR, 'M', the register and value characters, each
// as its own write 10 ms apart; then up to six rounds of 100 ms, a one-byte read
// (answered with a CR when a byte came) and 100 ms, until two bytes have come.
// Returns how many acknowledgement bytes came (0, 1 or 2); they are dropped.
int writeOptionRegister(ModuleLink& link, std::string_view reg, std::string_view val);

}  // namespace frames
