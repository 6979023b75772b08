// Corvane's "hex to ascii conversion" as the operator uses it: the input is what is
// typed into "hexadecimal message" (1028), then the button (1030) is clicked.
//
// Invariants:
// - "ascii message" (1029) gets exactly the bytes that the hex pairs stand for, pair by
//   pair from the start, up to the first zero byte after the first byte (a zero as the
//   first byte is kept, shown as its control picture): two hex digits (either case) their
//   value, any other pair the value of the link's digit rule (digit = c - '0', 7 less
//   above 9), modulo 256;
// - so it is never longer than half of the first 99 typed characters, nor than 50;
//   a lone last digit gives nothing, and no zero byte is shown but a first one;
// - the control shows the field, a second click gives the same text, and the
//   conversion sends nothing to the module, pauses never and touches no other field.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "corvane/control_ids.h"
#include "fuzz/corvane_on_fake_module.h"
#include "fuzz/fuzz_check.h"

using namespace corvane_ids;

namespace {

constexpr std::size_t kHexMaxChars = 99;
constexpr std::size_t kAsciiMaxChars = 50;

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The digit rule of the link, as its header states it.
int digitOf(char c) {
  if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  int d = static_cast<signed char>(c) - '0';
  return d > 9 ? d - 7 : d;
}

std::string expectedAscii(const std::string& typed) {
  const std::string hex = typed.substr(0, kHexMaxChars);
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size() && out.size() < kAsciiMaxChars; i += 2) {
    int value = 16 * digitOf(hex[i]) + digitOf(hex[i + 1]);
    if (isHexDigit(hex[i]) && isHexDigit(hex[i + 1])) {
      FUZZ_CHECK(value == std::stoi(hex.substr(i, 2), nullptr, 16), "the digit rule is wrong");
    }
    const auto byte = static_cast<char>(value & 0xFF);
    if (byte == '\0' && i > 0) break;
    out += byte;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool earlierText = input.ConsumeBool();  // from the input's end
  const std::string typed = input.ConsumeRemainingBytesAsString();

  CorvaneOnFakeModule corvane;
  VirtualClock& clock = corvane.clock;
  FakeSerialBench& bench = corvane.bench;
  FakeControlPanel& panel = corvane.panel;
  CCorvaneDlg& dlg = corvane.dlg;
  bench.clearEvents();

  if (earlierText) {
    panel.replaceText(kAsciiMessage, "an earlier text the conversion replaces");
    dlg.onTextChanged(kAsciiMessage);
  }
  panel.replaceText(kHexMessage, typed);
  dlg.onTextChanged(kHexMessage);
  const std::string receivedBefore = dlg.display.receivedText;
  const int shownBefore = panel.setTextCount(kAsciiMessage);
  panel.click(kHexToAscii);
  dlg.onClicked(kHexToAscii);

  const std::string& ascii = dlg.asciiMessage;
  const std::string expected = expectedAscii(typed);
  FUZZ_CHECK(ascii == expected, "converted " + fuzz::visible(typed) + " to " + fuzz::visible(ascii) +
                                    " not " + fuzz::visible(expected));
  FUZZ_CHECK(ascii.size() <= std::min(typed.size(), kHexMaxChars) / 2 && ascii.size() <= kAsciiMaxChars,
             "more characters than the pairs make");
  FUZZ_CHECK(ascii.find('\0', 1) == std::string::npos, "a zero byte after the first in the ascii message");
  FUZZ_CHECK(panel.text(kAsciiMessage) == ascii, "the control does not show the ascii message");
  FUZZ_CHECK(panel.setTextCount(kAsciiMessage) > shownBefore, "the ascii message was never shown");
  FUZZ_CHECK(dlg.hexMessage == typed && dlg.display.receivedText == receivedBefore,
             "the conversion changed another field");
  FUZZ_CHECK(bench.writes().empty() && clock.pauses().empty(),
             "the conversion talked to the module or paused");

  dlg.onClicked(kHexToAscii);
  FUZZ_CHECK(dlg.asciiMessage == expected, "a second click gave another text");
  return 0;
}
