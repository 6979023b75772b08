#include <string>
#include <string_view>

#include "corvane/corvane_dlg.h"

namespace {

constexpr int kSlowBaud = 9600;
constexpr int kFastBaud = 115200;
constexpr int kLinkStepMs = 100;
constexpr std::size_t kStaleInputBytes = 100;
constexpr int kTimingDigits = 10;
constexpr std::size_t kTimingChars = 10;

// Bits of the option registers as the module defines them.
constexpr int kAcFullLevelBit = 0x80;  // clear: transmit signal reduced by 6 dB
constexpr int kAbAudioOffBit = 0x80;
constexpr int kAbDebugBit = 0x40;
constexpr int kAbStatusBit = 0x20;
constexpr int kAbSia110Bit = 0x04;
constexpr int kB1Tone1400Bit = 0x04;

// A selection field from one register bit: 0 (shown selected) when the bit equals
// `selectedWhenSet`, 1 (shown clear) otherwise.
int selectionFromBit(int value, int bit, bool selectedWhenSet) {
  return ((value & bit) != 0) == selectedWhenSet ? 0 : 1;
}

}  // namespace

void CCorvaneDlg::startUp() {
  // The view has created the controls; they show the constructor values first.
  loadControls();
  beepLibrary().load(env_.beepLibraryFile, "MyBeep");
  commportText = files().readPortName();
  linkTestAtStartUp();
  readModuleSettings();
  telephoneNumber = files().readTelephoneNumber();
  for (int n = 1; n <= 8; ++n) alarmMessage(n) = files().readAlarmMessage(n);
  files().createHistory();
  appendTimingLine();
  loadControls();
  loadControls();
}

void CCorvaneDlg::linkTestAtStartUp() {
  ModuleLink& l = link();
  const std::string name = commportText;

  // At 9600 baud the module must answer the check on register 80.
  l.openPort(name, kSlowBaud);
  std::string reply = l.registerLinkCheck("80");
  if (reply == "55") {
    commportText = name;
    // The port digit of a name such as COM3:; a shorter name has none.
    receivedText = "com: " + (name.size() >= 4 ? name.substr(3, 1) : std::string());
    commportChanged = 1;
    return;
  }

  // At 115200 baud the module's answer to a lone "R8" is enough: any two bytes.
  port().close();
  l.openPort(name, kFastBaud);
  l.sendByte('\r');
  l.pauseMs(kLinkStepMs);
  l.readUpTo(kStaleInputBytes);
  l.pauseMs(kLinkStepMs);
  l.sendBytes("R8");
  l.pauseMs(kLinkStepMs);
  std::string answer = l.readUpTo(2);
  l.pauseMs(kLinkStepMs);
  if (answer.size() == 2) {
    commportText = name;
    receivedText = "communication established";
  }
}

void CCorvaneDlg::readModuleSettings() {
  ModuleLink& l = link();
  // A query without a full reply leaves its fields at their start values and its
  // register copy at 0, so no made-up bits are ever written back to the module. A
  // copy also needs two real hex digits: anything else would not be a byte.
  auto registerValue = [](const std::string& reply) {
    return isHexPair(reply) ? hexPairToByte(reply[0], reply[1]) : -1;
  };

  std::string reply = l.queryRegister("Q82");
  if (reply.size() == 2) dialerTimeoutText = reply;

  reply = l.queryRegister("Q83");
  if (reply.size() == 2) kissoffTimeText += reply;

  int value = registerValue(l.queryRegister("QAC"));
  shadowAC = value < 0 ? 0 : value;
  if (value >= 0) reduce6dbSelected = (value & kAcFullLevelBit) != 0 ? 1 : 0;

  applyProtocolAtStartUp();

  value = registerValue(l.queryRegister("QAB"));
  shadowAB = value < 0 ? 0 : value;
  if (value >= 0) {
    audioSelected = (value & kAbAudioOffBit) != 0 ? 1 : 0;
    sia110Selected = selectionFromBit(value, kAbSia110Bit, true);
    debugSelected = selectionFromBit(value, kAbDebugBit, true);
    statusSelected = selectionFromBit(value, kAbStatusBit, true);
  }

  value = registerValue(l.queryRegister("RB1"));
  shadowB1 = value < 0 ? 0 : value;
  if (value >= 0 && (value & kB1Tone1400Bit) != 0) tone1400Selected = 0;
}

void CCorvaneDlg::applyProtocolAtStartUp() {
  protocolCode = files().readProtocolCode().value_or('0');
  contactIdSelected = 1;
  fskF1Selected = 1;
  pulse4x2Selected = 1;
  fskF2Selected = 1;
  switch (protocolCode) {
    case '0': contactIdSelected = 0; break;
    case '1': fskF1Selected = 0; break;
    case '2': pulse4x2Selected = 0; break;
    case '8': fskF2Selected = 0; break;
    default:
      // An unknown code shows Contact-ID but keeps the byte it read; the FSK F2
      // button stays at its start value.
      contactIdSelected = 0;
      fskF2Selected = -1;
      break;
  }
}

void CCorvaneDlg::appendTimingLine() {
  ModuleLink& l = link();
  l.stopwatchStart();
  l.pauseMs(1);
  std::string text = formatGeneral(l.stopwatchElapsedMs(), kTimingDigits);
  receivedText += "\r\n";
  receivedText += text.substr(0, kTimingChars);
}
