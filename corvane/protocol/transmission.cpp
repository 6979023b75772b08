#include "corvane/corvane_dlg.h"
#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

using frames::kCr;
namespace rm = register_map;

namespace {

// Register AC (the run bit already clear) and the reporting format, each shown as it
// is sent.
void sendControlAndFormat(ModuleLink& link, ReceivedDisplay& display, int shadowAC,
                          char protocolCode) {
  const std::string acDigits = frames::byteToHexPair(shadowAC);
  display.show(rm::kWriteControl);
  link.sendBytes(rm::kWriteControl);
  link.sendBytes(acDigits);
  display.show(acDigits);
  link.sendByte(kCr);
  display.show(kCr);
  link.pauseMs(100);

  display.show(rm::kWriteFormatHead);
  link.sendBytes(rm::kWriteFormatHead);
  link.sendByte(protocolCode);
  display.show(protocolCode);
  link.sendByte(kCr);
  link.pauseMs(100);
}

}  // namespace

// "go (transmit message)...": loads one alarm (number and message) into the module
// and tells it to dial. Nothing is awaited: the module's reports come in through the
// poll tick.
void CCorvaneDlg::onTransmitClicked() {
  ModuleLink& link = link_;
  link.sendByte(kCr);
  link.pauseMs(50);
  link.sendBytes(rm::kBeginProgramming);
  link.pauseMs(50);
  shadows.clearRunBit();
  sendControlAndFormat(link, display, shadows.shadowAC, protocolCode);
  link.sendByte(kCr);
  link.pauseMs(100);

  alarm_frames::sendTelephoneNumber(link, display, telephoneNumber);

  // SIA FSK F2 travels like Contact-ID, so the main button can send it too.
  if (contactIdSelected == 0 || pulse4x2Selected == 0 || fskF2Selected == 0) {
    transmittingText.clear();
    int count = pulse4x2Selected == 0 ? alarm_frames::kPulse4x2Chars : alarm_frames::kMessageChars;
    display.show("testing");
    display.show(rm::kMessage);
    link.sendByte(rm::kMessage);
    alarm_frames::sendMessageCharacters(link, display, transmittingText, alarmMessage1, count);
    link.sendByte(kCr);
    link.pauseMs(30);
  }
  if (fskF1Selected == 0) alarm_frames::sendKPath(link, display, transmittingText, alarmMessage1);

  link.sendBytes(rm::kEndProgramming);
  link.pauseMs(50);
  link.sendByte(rm::kGo);
  loadControls();
}
