#include "corvane/protocol/frames.h"

#include "corvane/protocol/module_timing.h"

namespace frames {

std::string byteToHexPair(int v) {
  auto digit = [](int d) {
    char c = static_cast<char>('0' + d);
    return c > '9' ? static_cast<char>(c + 7) : c;
  };
  int high = v / 16;
  return {digit(high), digit(v - 16 * high)};
}

int writeOptionRegister(ModuleLink& link, std::string_view reg, std::string_view val) {
  const char frame[] = {kCr, 'M', reg[0], reg[1], val[0], val[1]};
  for (char c : frame) {
    link.sendByte(c);
    link.pauseMs(module_timing::kOptionByteMs);
  }
  int count = 0;
  for (int attempt = 0; attempt < 6 && count < 2; ++attempt) {
    link.pauseMs(module_timing::kAckWaitMs);
    if (!link.readUpTo(1).empty()) {
      ++count;
      link.sendByte(kCr);
    }
    link.pauseMs(module_timing::kAckWaitMs);
  }
  return count;
}

}  // namespace frames
