#include "corvane/corvane_dlg.h"
#include "corvane/protocol/alarm_frames.h"
#include "corvane/protocol/frames.h"

using frames::kCr;

// Loads one alarm (number and message) into the module and tells it to dial. Nothing
// is awaited: the module's reports come in through the poll tick.
void CCorvaneDlg::onTransmitClicked() {
  ModuleLink& link = link_;
  link.sendByte(kCr);
  link.pauseMs(50);
  link.sendBytes("W3D01");
  link.pauseMs(50);

  shadowAC &= ~alarm_frames::kAcRunBit & 0xFF;
  std::string acDigits = frames::byteToHexPair(shadowAC);
  receivedText += "WAC";
  link.sendBytes("WAC");
  link.sendBytes(acDigits);
  receivedText += acDigits;
  link.sendByte(kCr);
  receivedText += kCr;
  link.pauseMs(100);

  receivedText += "W7F0";
  link.sendBytes("W7F0");
  link.sendByte(protocolCode);
  receivedText += protocolCode;
  link.sendByte(kCr);
  link.pauseMs(100);
  link.sendByte(kCr);
  link.pauseMs(100);

  alarm_frames::sendTelephoneNumber(*this, telephoneNumber);

  // SIA FSK F2 travels like Contact-ID, so the main button can send it too.
  if (contactIdSelected == 0 || pulse4x2Selected == 0 || fskF2Selected == 0) {
    transmittingText.clear();
    int count = pulse4x2Selected == 0 ? alarm_frames::kPulse4x2Chars : alarm_frames::kMessageChars;
    receivedText += "testing";
    receivedText += 'S';
    link.sendByte('S');
    alarm_frames::sendMessageCharacters(*this, alarmMessage1, count);
    link.sendByte(kCr);
    link.pauseMs(30);
  }
  if (fskF1Selected == 0) {
    link.sendByte(kCr);
    link.pauseMs(10);
    transmittingText.clear();
    alarm_frames::sendKFrames(*this, alarmMessage1);
  }

  link.sendBytes("W3D00");
  link.pauseMs(50);
  link.sendByte('G');
  loadControls();
}
