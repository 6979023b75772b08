#include <string_view>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"

// "load factory default": one fixed sequence of frames and pauses. It reads no
// answer and leaves the program's own state (shadows, protocol code, fields, files)
// as it was, so the switches keep showing what the program last set.

namespace {

constexpr std::string_view kResetFrame = "W8755";
constexpr char kResetCommand = 'X';
constexpr int kResetSettleMs = 5000;        // the module reloads its defaults
constexpr std::string_view kDefaultMessageFrame = "S123418313101015";
constexpr int kMessageCharGapMs = 20;
constexpr std::string_view kDefaultNumberFrame = "D2";
constexpr std::string_view kContactIdFrame = "W7F00";

}  // namespace

void CCorvaneDlg::onFactoryDefaultClicked() {
  ModuleLink& line = link();
  line.sendByte(frames::kCr);
  line.sendBytes(kResetFrame);
  line.pauseMs(20);
  line.sendByte(frames::kCr);
  line.sendByte(kResetCommand);
  line.pauseMs(kResetSettleMs);

  line.sendByte(frames::kCr);
  line.sendByte(frames::kCr);
  // The module takes the S frame one character at a time.
  for (char c : kDefaultMessageFrame) {
    line.sendByte(c);
    line.pauseMs(kMessageCharGapMs);
  }
  line.sendByte(frames::kCr);
  line.sendBytes(kDefaultNumberFrame);
  line.pauseMs(50);
  line.sendByte(frames::kCr);
  line.pauseMs(10);
  line.sendBytes(kContactIdFrame);
  line.pauseMs(20);

  receivedText = "default value loaded";
  loadControls();
}
