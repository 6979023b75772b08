#include "corvane/state/received_display.h"

#include <algorithm>
#include <climits>

namespace {

// Room for the CR LF that the end of the same tick may add after a long run of
// received characters, so the display never holds more than the cap.
constexpr std::size_t kForcedBreakBytes = 2;
// How far past the cut a line end is still looked for.
constexpr std::size_t kLineEndSearchBytes = 1024;

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

void ReceivedDisplay::showReceived(std::string_view bytes) {
  for (char c : bytes) {
    if (c != '\n') {
      receivedText += c;
      if (++columnCount >= kWrapColumns) {
        receivedText += "\r\n";
        columnCount = 0;
        countLine();
      }
    }
    if (c == '\r') {
      columnCount = 0;
      receivedText += '\n';
      countLine();
    }
  }
}

bool ReceivedDisplay::trimOldestLine() {
  if (lineCount <= kMaxLines) return false;
  std::string_view window = std::string_view(receivedText).substr(0, kTrimWindowChars);
  std::size_t lineEnd = window.find('\n', 1);
  std::string rest;
  if (lineEnd != std::string_view::npos) rest = receivedText.substr(lineEnd + 1);
  receivedText = rest.size() < kTrimWindowChars ? rest : std::string();
  recountLines();
  return true;
}

void ReceivedDisplay::showNotice(std::string_view text) {
  receivedText += text;
  countLine();
}

void ReceivedDisplay::breakLongRun() {
  if (charsSinceBreak <= kForcedBreakChars) return;
  receivedText += "\r\n";
  countLine();
  charsSinceBreak = 0;
}

void ReceivedDisplay::capNormalText() {
  if (receivedText.size() <= kNormalMaxChars) return;
  keepAtMost(kNormalMaxChars);
  recountLines();
}

void ReceivedDisplay::countLine() {
  if (lineCount < INT_MAX) ++lineCount;
}

void ReceivedDisplay::recountLines() {
  const auto ends = std::count(receivedText.begin(), receivedText.end(), '\n');
  lineCount = static_cast<int>(std::min<std::ptrdiff_t>(ends, INT_MAX));
}

void ReceivedDisplay::showRaw(std::string_view bytes) {
  countReceived(bytes.size());
  receivedText += bytes;
}

void ReceivedDisplay::capTerminalText() {
  constexpr std::size_t kCap = kTerminalMaxChars - kForcedBreakBytes;
  if (receivedText.size() > kCap) keepAtMost(kCap - kTerminalTrimChars);
}

void ReceivedDisplay::keepAtMost(std::size_t keep) {
  std::string& text = receivedText;
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
