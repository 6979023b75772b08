#include "corvane/protocol/transmission.h"

#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"

using frames::kCr;
namespace rm = register_map;
namespace mt = module_timing;

void Transmission::start() {
  link_.sendByte(kCr);
  link_.pauseMs(mt::kAfterWakeCrMs);
  link_.sendBytes(rm::kBeginProgramming);
  link_.pauseMs(mt::kAfterProgrammingOnMs);
  shadows_.clearRunBit();
  sendControlAndFormat();
  link_.sendByte(kCr);
  link_.pauseMs(mt::kAfterSpareCrMs);

  alarm_frames::sendTelephoneNumber(link_, display_, fields_.telephoneNumber);

  // SIA FSK F2 travels like Contact-ID, so the main button can send it too.
  const FormatButtons& format = fields_.format;
  if (format.contactIdShown() || format.pulse4x2Shown() || format.fskF2Shown()) sendMessageFrame();
  if (format.fskF1Shown())
    alarm_frames::sendKPath(link_, display_, fields_.transmittingText, fields_.alarmMessage1);

  link_.sendBytes(rm::kEndProgramming);
  link_.pauseMs(mt::kAfterProgrammingOffMs);
  link_.sendByte(rm::kGo);
}

// Register AC (the run bit already clear) and the reporting format, each shown as it
// is sent.
void Transmission::sendControlAndFormat() {
  const std::string acDigits = frames::byteToHexPair(shadows_.shadowAC);
  display_.show(rm::kWriteControl);
  link_.sendBytes(rm::kWriteControl);
  link_.sendBytes(acDigits);
  display_.show(acDigits);
  link_.sendByte(kCr);
  display_.show(kCr);
  link_.pauseMs(mt::kAfterControlWriteMs);

  display_.show(rm::kWriteFormatHead);
  link_.sendBytes(rm::kWriteFormatHead);
  link_.sendByte(fields_.protocolCode);
  display_.show(fields_.protocolCode);
  link_.sendByte(kCr);
  link_.pauseMs(mt::kAfterFormatWriteMs);
}

// The S frame: 'S', six characters in Pulse 4X2 and fifteen otherwise, 30 ms apart, CR.
void Transmission::sendMessageFrame() {
  fields_.transmittingText.clear();
  const int count =
      fields_.format.pulse4x2Shown() ? alarm_frames::kPulse4x2Chars : alarm_frames::kMessageChars;
  display_.show("testing");
  display_.show(rm::kMessage);
  link_.sendByte(rm::kMessage);
  alarm_frames::sendMessageCharacters(link_, display_, fields_.transmittingText,
                                      fields_.alarmMessage1, count);
  link_.sendByte(kCr);
  link_.pauseMs(mt::kAfterMessageFrameMs);
}
