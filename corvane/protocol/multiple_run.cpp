#include <string>
#include <string_view>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

using frames::kCr;
namespace rm = register_map;

namespace {

// A message file beginning with this letter marks the end of the run.
constexpr char kEndOfRunMark = 'X';
constexpr int kPauseBeforeNextMs = 500;

// The next message of a run on the S path, after the 'S' already sent: its characters,
// CR, 500 ms and 'B', shown.
void sendNextOnSPath(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
                     std::string_view message, int count) {
  transmittingText.clear();
  alarm_frames::sendMessageCharacters(link, display, transmittingText, message, count);
  link.sendByte(kCr);
  link.pauseMs(kPauseBeforeNextMs);
  link.sendByte(rm::kNextMessage);
  display.show("\r\nB");
}

// The next message of a run as K frames, then CR, 100 ms and 'B'; only the frames are
// shown.
void sendNextOnKPath(ModuleLink& link, ReceivedDisplay& display, std::string& transmittingText,
                     std::string_view message) {
  alarm_frames::sendKPath(link, display, transmittingText, message);
  link.sendByte(kCr);
  link.pauseMs(100);
  link.sendByte(rm::kNextMessage);
}

}  // namespace

// "go for multiple alarm messages...": starts a run of up to eight alarms in one
// call: message 1 from the edit now, the others from ./alarmmessage2 to
// ./alarmmessage8, each after the module has reported the previous one delivered
// (multipleRunStep, from the poll tick).
void CCorvaneDlg::onMultipleRunClicked() {
  ModuleLink& link = link_;
  shadows.setRunBit();
  run.start();
  delivery.successSeen = 0;
  delivery.tickCount = 0;

  link.sendBytes(rm::kBeginProgramming);
  link.pauseMs(50);
  link.sendBytes(rm::kWriteControl);
  link.sendBytes(frames::byteToHexPair(shadows.shadowAC));
  link.pauseMs(100);
  link.sendByte(kCr);
  link.sendBytes(rm::kWriteFormatHead);
  link.sendByte(protocolCode);
  link.sendByte(kCr);
  link.pauseMs(100);

  alarm_frames::sendTelephoneNumber(link, display, telephoneNumber);

  if (fskF1Selected != 0) {
    // The first message always goes with 15 characters, Pulse 4X2 included.
    link.sendByte(rm::kMessage);
    display.show(rm::kMessage);
    transmittingText.clear();
    alarm_frames::sendMessageCharacters(link, display, transmittingText, alarmMessage1,
                                        alarm_frames::kMessageChars);
    link.sendByte(kCr);
  } else {
    alarm_frames::sendKPath(link, display, transmittingText, alarmMessage1);
  }
  link.sendByte(kCr);
  link.sendBytes(rm::kEndProgramming);
  link.pauseMs(50);
  link.sendByte(rm::kGo);
  loadControls();
}

// The module has reported the previous message delivered: send the next message
// file's text and ask for it with 'B', or hang up when the run is over.
void CCorvaneDlg::multipleRunStep() {
  ModuleLink& link = link_;
  delivery.successSeen = 0;
  run.advance();
  if (run.lastWasDelivered()) {
    link.sendByte(kCr);
    link.sendByte(rm::kHangUp);
    run.end();
  }
  if (run.pastLastMessage()) return;

  link.sendByte(kCr);
  delivery.tickCount = 0;
  const bool sPath = fskF1Selected != 0;
  if (sPath) {
    link.sendByte(kCr);
    link.pauseMs(100);
    link.sendByte(rm::kMessage);
    display.show("\r\nS");
  }

  std::string message = files_.readRunMessage(run.runIndex);  // at most 16 bytes
  if (message.empty() || message[0] == kEndOfRunMark) {
    // On the S path the module holds an open S frame: close it before hanging up.
    if (sPath) link.sendByte(kCr);
    link.sendByte(rm::kHangUp);
    run.end();
    return;
  }

  noteAlarm(run.runIndex, message);
  if (sPath) {
    int count = pulse4x2Selected == 0 ? alarm_frames::kPulse4x2Chars : alarm_frames::kMessageChars;
    sendNextOnSPath(link, display, transmittingText, message, count);
    loadControls();
  } else {
    sendNextOnKPath(link, display, transmittingText, message);
  }
}
