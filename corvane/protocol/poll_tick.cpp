#include <cstring>
#include <string>
#include <string_view>

#include "corvane/corvane_dlg.h"

namespace {

constexpr int kTicksBeforeTimeout = 500;   // at 100 ms a tick: 50 s without a report
constexpr std::size_t kReadChunkBytes = 30;
constexpr int kRestOfBurstPauseMs = 50;    // lets the rest of a burst arrive
constexpr int kWrapColumns = 25;
constexpr int kMaxLines = 30;
constexpr std::size_t kTrimWindowChars = 1000;
constexpr int kForcedBreakChars = 140;
constexpr const char* kTimeoutMessage = "error: communication timeout";

// The module's delivery report, found in what one tick read. The search stops at a
// zero byte, as over a C text.
bool holdsDeliveryReport(const std::string& received) {
  std::string_view text(received.c_str());
  return text.find("M00") != std::string_view::npos ||
         text.find("MESSAGE SUCCESS") != std::string_view::npos;
}

}  // namespace

void CCorvaneDlg::normalTickSteps() {
  if (successSeen == 0 && ++tickCount > kTicksBeforeTimeout) {
    files_.appendTimeoutRecord();
    receivedText += kTimeoutMessage;
    loadControls();
    tickCount = 0;
  }

  if (protocolChanged == 1) {
    files_.saveProtocolCode(protocolCode);
    protocolChanged = 0;
  }

  receiveStep();
  const bool quiet = lastReceived.empty();

  if (!quiet && holdsDeliveryReport(lastReceived)) {
    successPending += static_cast<int>(lastReceived.size());
    timerRearmed = true;
  }

  if (quiet && successPending != 0) {
    // The line has gone quiet after a report: the display now ends with it.
    files_.writeDisplayMessage(receivedText);
    successPending = 0;
    successSeen = 1;
    tickCount = 0;
    timerRearmed = true;
  }

  // A quiet tick with nothing pending passes on the mailbox; the tick that has just
  // acted on a report counts as such, so its command goes out ahead of a run's next
  // message.
  if (quiet && successPending == 0) {
    timerRearmed = true;
    if (std::optional<char> command = files_.takeCommand()) link_.sendByte(*command);
  }

  if (successSeen == 1 && runRemaining != 0) multipleRunStep();
}

// Reads what the module sent (up to 60 bytes a tick) and shows it, 25 characters a
// line at most. The module's LF is dropped and every CR gets an LF of our own, since
// the module's line ends vary with its firmware.
void CCorvaneDlg::receiveStep() {
  lastReceived = link_.readUpTo(kReadChunkBytes);
  if (!lastReceived.empty()) {
    charsSinceBreak += static_cast<int>(lastReceived.size());
    link_.pauseMs(kRestOfBurstPauseMs);
    lastReceived += link_.readUpTo(kReadChunkBytes);
  }

  for (char c : lastReceived) {
    if (c != '\n') {
      receivedText += c;
      if (++columnCount >= kWrapColumns) {
        receivedText += "\r\n";
        columnCount = 0;
        ++lineCount;
      }
    }
    if (c == '\r') {
      columnCount = 0;
      receivedText += '\n';
      ++lineCount;
    }
  }

  // One line at most per tick: the display stays near 30 lines.
  if (lineCount > kMaxLines) {
    std::string_view window = std::string_view(receivedText).substr(0, kTrimWindowChars);
    std::size_t lineEnd = window.find('\n', 1);
    std::string rest;
    if (lineEnd != std::string_view::npos) rest = receivedText.substr(lineEnd + 1);
    receivedText = rest.size() < kTrimWindowChars ? rest : std::string();
    loadControls();
    --lineCount;
  }
}

void CCorvaneDlg::tickTail() {
  if (commportChanged == 1) {
    commportChanged = 0;
    files_.savePortName(commportText);
  }
  if (charsSinceBreak > kForcedBreakChars) {
    receivedText += "\r\n";
    charsSinceBreak = 0;
  }
  loadControls();
}
