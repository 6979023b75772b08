#include <string_view>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

// "load factory default": one fixed sequence of frames and pauses. It reads no
// answer and leaves the program's own state (shadows, protocol code, fields, files)
// as it was, so the switches keep showing what the program last set.

namespace {

constexpr int kResetSettleMs = 5000;  // the module reloads its defaults
constexpr int kMessageCharGapMs = 20;

}  // namespace

void CCorvaneDlg::onFactoryDefaultClicked() {
  namespace rm = register_map;
  ModuleLink& line = link_;
  line.sendByte(frames::kCr);
  line.sendBytes(rm::kResetKeyFrame);
  line.pauseMs(20);
  line.sendByte(frames::kCr);
  line.sendByte(rm::kLoadDefaults);
  line.pauseMs(kResetSettleMs);

  line.sendByte(frames::kCr);
  line.sendByte(frames::kCr);
  // The module takes the S frame one character at a time.
  for (char c : rm::kDefaultMessageFrame) {
    line.sendByte(c);
    line.pauseMs(kMessageCharGapMs);
  }
  line.sendByte(frames::kCr);
  line.sendBytes(rm::kDefaultNumberFrame);
  line.pauseMs(50);
  line.sendByte(frames::kCr);
  line.pauseMs(10);
  line.sendBytes(rm::kWriteContactIdFormat);
  line.pauseMs(20);

  display.receivedText = "default value loaded";
  loadControls();
}
