#include "corvane/corvane_dlg.h"
#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"

using frames::kCr;

namespace {
constexpr int kRunMessages = 8;
// A message file beginning with this letter marks the end of the run.
constexpr char kEndOfRunMark = 'X';
constexpr int kPauseBeforeNextMs = 500;
}  // namespace

// Starts a run of up to eight alarms in one call: message 1 from the edit now, the
// others from ./alarmmessage2 to ./alarmmessage8, each after the module has reported
// the previous one delivered (multipleRunStep, from the poll tick).
void CCorvaneDlg::onMultipleRunClicked() {
  ModuleLink& link = link_;
  shadowAC |= alarm_frames::kAcRunBit;
  runRemaining = kRunMessages;
  successSeen = 0;
  runIndex = 1;
  tickCount = 0;

  link.sendBytes("W3D01");
  link.pauseMs(50);
  link.sendBytes("WAC");
  link.sendBytes(frames::byteToHexPair(shadowAC));
  link.pauseMs(100);
  link.sendByte(kCr);
  link.sendBytes("W7F0");
  link.sendByte(protocolCode);
  link.sendByte(kCr);
  link.pauseMs(100);

  alarm_frames::sendTelephoneNumber(*this, telephoneNumber);

  if (fskF1Selected != 0) {
    // The first message always goes with 15 characters, Pulse 4X2 included.
    link.sendByte('S');
    receivedText += 'S';
    transmittingText.clear();
    alarm_frames::sendMessageCharacters(*this, alarmMessage1, alarm_frames::kMessageChars);
    link.sendByte(kCr);
  } else {
    link.sendByte(kCr);
    link.pauseMs(10);
    transmittingText.clear();
    alarm_frames::sendKFrames(*this, alarmMessage1);
  }
  link.sendByte(kCr);
  link.sendBytes("W3D00");
  link.pauseMs(50);
  link.sendByte('G');
  loadControls();
}

// The module has reported the previous message delivered: send the next message
// file's text and ask for it with 'B', or hang up when the run is over.
void CCorvaneDlg::multipleRunStep() {
  ModuleLink& link = link_;
  successSeen = 0;
  runRemaining = runRemaining > 0 ? runRemaining - 1 : 0;
  ++runIndex;
  if (runIndex == kRunMessages + 1) {
    link.sendByte(kCr);
    link.sendByte('A');
    successSeen = 0;
    runRemaining = 0;
  }
  if (runIndex > kRunMessages) return;

  link.sendByte(kCr);
  tickCount = 0;
  const bool sPath = fskF1Selected != 0;
  if (sPath) {
    link.sendByte(kCr);
    link.pauseMs(100);
    link.sendByte('S');
    receivedText += "\r\nS";
  }

  std::string message = files_.readRunMessage(runIndex);  // at most 16 bytes
  successSeen = 0;
  if (message.empty() || message[0] == kEndOfRunMark) {
    // On the S path the module holds an open S frame: close it before hanging up.
    if (sPath) link.sendByte(kCr);
    link.sendByte('A');
    successSeen = 0;
    runRemaining = 0;
    return;
  }

  if (sPath) {
    transmittingText.clear();
    int count = pulse4x2Selected == 0 ? alarm_frames::kPulse4x2Chars : alarm_frames::kMessageChars;
    alarm_frames::sendMessageCharacters(*this, message, count);
    link.sendByte(kCr);
    link.pauseMs(kPauseBeforeNextMs);
    link.sendByte('B');
    receivedText += "\r\nB";
    loadControls();
  } else {
    link.sendByte(kCr);
    link.pauseMs(10);
    transmittingText.clear();
    alarm_frames::sendKFrames(*this, message);
    link.sendByte(kCr);
    link.pauseMs(100);
    link.sendByte('B');
  }
}

// Hangs the module up; the run state is left as it is, so a report that still comes
// advances a run that had not ended.
void CCorvaneDlg::onAbortClicked() {
  beepLibrary_.call();
  link_.sendByte(kCr);
  link_.sendByte('A');
  loadControls();
}
