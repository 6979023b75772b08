#include <cstddef>
#include <string>

#include "corvane/corvane_dlg.h"

// "hex to ascii conversion": a desk tool that shows which text a hexadecimal SIA FSK
// F1 message stands for. It talks to neither the module nor any file.

namespace {

constexpr std::size_t kHexInputMaxChars = 99;
constexpr std::size_t kAsciiOutputMaxChars = 50;

}  // namespace

void CCorvaneDlg::onHexToAsciiClicked() {
  // Works on hexMessage as the last edit of 1028 stored it; no store runs here.
  const std::string hex = hexMessage.substr(0, kHexInputMaxChars);
  asciiMessage.clear();
  // Only whole pairs count: a lone last digit has no partner and is left out rather
  // than paired with whatever follows the text.
  for (std::size_t i = 0; i + 1 < hex.size() && asciiMessage.size() < kAsciiOutputMaxChars;
       i += 2) {
    const auto byte = static_cast<char>(hexPairToByte(hex, i) & 0xFF);
    // The first byte is shown whatever it is (the field shows a zero as its control
    // picture) and the conversion goes on; a zero after it ends the text.
    if (byte == '\0' && i > 0) break;
    asciiMessage += byte;
    // The field fills character by character, as the operator watches.
    loadControls();
  }
  if (asciiMessage.empty()) loadControls();  // still clear the earlier text
}
