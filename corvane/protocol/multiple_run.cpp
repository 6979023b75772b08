#include "corvane/protocol/multiple_run.h"

#include <string>

#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"

using frames::kCr;
namespace rm = register_map;
namespace mt = module_timing;

namespace {

// A message file beginning with this letter marks the end of the run.
constexpr char kEndOfRunMark = 'X';

}  // namespace

void MultipleRun::start() {
  ModuleLink& link = p_.link;
  p_.shadows.setRunBit();
  p_.run.start();
  p_.delivery.successSeen = 0;
  p_.delivery.tickCount = 0;

  link.sendBytes(rm::kBeginProgramming);
  link.pauseMs(mt::kAfterProgrammingOnMs);
  link.sendBytes(rm::kWriteControl);
  link.sendBytes(frames::byteToHexPair(p_.shadows.shadowAC));
  link.pauseMs(mt::kAfterControlWriteMs);
  link.sendByte(kCr);
  link.sendBytes(rm::kWriteFormatHead);
  link.sendByte(fields_.protocolCode);
  link.sendByte(kCr);
  link.pauseMs(mt::kAfterFormatWriteMs);

  alarm_frames::sendTelephoneNumber(link, p_.display, fields_.telephoneNumber);
  sendFirstMessage();
  link.sendByte(kCr);
  link.sendBytes(rm::kEndProgramming);
  link.pauseMs(mt::kAfterProgrammingOffMs);
  link.sendByte(rm::kGo);
}

// Message 1 from its edit. On the S path it always goes with 15 characters, Pulse 4X2
// included.
void MultipleRun::sendFirstMessage() {
  if (fields_.format.fskF1Shown()) {
    alarm_frames::sendKPath(p_.link, p_.display, fields_.transmittingText, fields_.alarmMessage1);
    return;
  }
  p_.link.sendByte(rm::kMessage);
  p_.display.show(rm::kMessage);
  fields_.transmittingText.clear();
  alarm_frames::sendMessageCharacters(p_.link, p_.display, fields_.transmittingText,
                                      fields_.alarmMessage1, alarm_frames::kMessageChars);
  p_.link.sendByte(kCr);
}

void MultipleRun::step() {
  ModuleLink& link = p_.link;
  MultipleRunState& run = p_.run;
  p_.delivery.successSeen = 0;
  run.advance();
  if (run.lastWasDelivered()) {
    link.sendByte(kCr);
    link.sendByte(rm::kHangUp);
    run.end();
  }
  if (run.pastLastMessage()) return;

  link.sendByte(kCr);
  p_.delivery.tickCount = 0;
  const bool sPath = !fields_.format.fskF1Shown();
  if (sPath) {
    link.sendByte(kCr);
    link.pauseMs(mt::kBeforeNextSFrameMs);
    link.sendByte(rm::kMessage);
    p_.display.show("\r\nS");
  }

  const std::string message = p_.files.readRunMessage(run.runIndex);  // at most 16 bytes
  if (message.empty() || message[0] == kEndOfRunMark) {
    // On the S path the module holds an open S frame: close it before hanging up.
    if (sPath) link.sendByte(kCr);
    hangUpEndingRun();
    return;
  }

  p_.notes.noteAlarm(run.runIndex, message);
  if (sPath) {
    const int count = fields_.format.pulse4x2Shown() ? alarm_frames::kPulse4x2Chars
                                                     : alarm_frames::kMessageChars;
    sendNextOnSPath(message, count);
    p_.exchange.load();
  } else {
    sendNextOnKPath(message);
  }
}

void MultipleRun::hangUpEndingRun() {
  p_.link.sendByte(rm::kHangUp);
  p_.run.end();
}

// The next message on the S path, after the 'S' already sent: its characters, CR,
// 500 ms and 'B', shown.
void MultipleRun::sendNextOnSPath(std::string_view message, int count) {
  fields_.transmittingText.clear();
  alarm_frames::sendMessageCharacters(p_.link, p_.display, fields_.transmittingText, message,
                                      count);
  p_.link.sendByte(kCr);
  p_.link.pauseMs(mt::kBeforeNextMessageMs);
  p_.link.sendByte(rm::kNextMessage);
  p_.display.show("\r\nB");
}

// The next message as K frames, then CR, 100 ms and 'B'; only the frames are shown.
void MultipleRun::sendNextOnKPath(std::string_view message) {
  alarm_frames::sendKPath(p_.link, p_.display, fields_.transmittingText, message);
  p_.link.sendByte(kCr);
  p_.link.pauseMs(mt::kAfterNextKFramesMs);
  p_.link.sendByte(rm::kNextMessage);
}
