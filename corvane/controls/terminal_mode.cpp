#include <cstddef>
#include <string>

#include "corvane/corvane_dlg.h"

// Terminal mode: the operator talks to the module one key at a time through the
// kbdata edit, and sees what the module sends exactly as it comes. Once ENABLE is
// clicked the mode stays on until the program ends.

namespace {

constexpr std::size_t kTerminalReadMaxBytes = 16;
constexpr int kKeySettleMs = 100;

// The display keeps only the newest text. Unlike the normal tick, terminal mode
// wraps nothing and trims nothing, so a long session would otherwise grow the text
// without bound and every refresh of the display would get slower.
constexpr std::size_t kTerminalDisplayMaxBytes = 64 * 1024;
// Room for the CR LF that the end of the same tick may add after a long run of
// received characters, so the display never holds more than the cap.
constexpr std::size_t kForcedBreakBytes = 2;
// How far past the cut a line end is still looked for, so the display starts with
// a whole line.
constexpr std::size_t kLineEndSearchBytes = 1024;

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Removes text from the front until it fits the cap, cutting just after a line end
// (CR, LF or CR LF, as the module sent them) when one follows the cut closely.
void trimTerminalDisplay(std::string& text) {
  const std::size_t keep = kTerminalDisplayMaxBytes - kForcedBreakBytes;
  if (text.size() <= keep) return;
  std::size_t cut = text.size() - keep;
  const bool atLineStart =
      isLineEnd(text[cut - 1]) && !(text[cut - 1] == '\r' && text[cut] == '\n');
  if (!atLineStart) {
    const std::size_t end = text.find_first_of("\r\n", cut);
    if (end != std::string::npos && end - cut < kLineEndSearchBytes) {
      cut = end + 1;
      if (text[end] == '\r' && cut < text.size() && text[cut] == '\n') ++cut;
    }
  }
  text.erase(0, cut);
}

}  // namespace

void CCorvaneDlg::onTerminalEnableClicked() {
  // The click shows ENABLE selected, so the store turns terminal mode on.
  storeControls();
}

void CCorvaneDlg::onKbdataChanged() {
  kbdataChanged = 1;
  link().pauseMs(kKeySettleMs);
  storeControls();
}

void CCorvaneDlg::terminalStep() {
  const std::string received = link().readUpTo(kTerminalReadMaxBytes);
  if (!received.empty()) {
    charsSinceBreak += static_cast<int>(received.size());
    receivedText += received;
  }

  if (kbdataChanged == 1) {
    kbdataChanged = 0;
    // A field emptied before the tick came holds no key: nothing is sent, rather
    // than a zero byte the operator never typed.
    if (!kbdataText.empty()) {
      // One key per tick; whatever else was typed is dropped with the field.
      const char key = kbdataText.front();
      kbdataText.clear();
      link().sendByte(key);
      receivedText += key;
      link().pauseMs(kKeySettleMs);
    }
  }

  trimTerminalDisplay(receivedText);
}
