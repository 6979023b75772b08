#include <cstring>
#include <string>
#include <string_view>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_reads.h"
#include "corvane/protocol/register_map.h"

namespace rm = register_map;

namespace {

constexpr int kSlowBaud = 9600;
constexpr int kFastBaud = 115200;
constexpr int kLinkStepMs = 100;
constexpr std::size_t kStaleInputBytes = 100;
constexpr int kTimingDigits = 10;
constexpr std::size_t kTimingChars = 10;

}  // namespace

void CCorvaneDlg::startUp() {
  EventScope event(*this);
  // The view has created the controls; they show the constructor values first.
  loadControls();
  env_.beep.load();
  commportText = files_.readPortName();
  portNameStored_ = portNameBeforeTyping_ = commportText;
  testLinkAtStartUp();
  notes_.noteStart(commportText, env_.port);
  readModuleSettings();
  telephoneNumber = files_.readTelephoneNumber();
  for (int n = 1; n <= 8; ++n) alarmMessage(n) = files_.readAlarmMessage(n);
  createHistory();
  appendTimingLine();
  loadControls();
  loadControls();
  // The link test's writes to a port that did not open are no news: its open said why.
  link_.takeWriteCounts();
  reportSequence({});
}

void CCorvaneDlg::testLinkAtStartUp() {
  ModuleLink& l = link_;
  const std::string name = commportText;

  // At 9600 baud the module must answer the check on register 80.
  l.openPort(name, kSlowBaud);
  portWatch_.afterLinkOpen();
  std::string reply = l.registerLinkCheck(rm::kStartUpTest);
  if (reply == rm::kTestValue) {
    commportText = name;
    // The port digit of a name such as COM3:; a shorter name has none.
    display.receivedText = "com: " + (name.size() >= 4 ? name.substr(3, 1) : std::string());
    flags.commportChanged = 1;
    portWatch_.linkTestDone(kSlowBaud);
    return;
  }

  // At 115200 baud the module's answer to the first two characters of "R80" is
  // enough: any two bytes.
  env_.port.close();
  l.openPort(name, kFastBaud);
  portWatch_.afterLinkOpen();
  l.sendByte(frames::kCr);
  l.pauseMs(kLinkStepMs);
  l.readUpTo(kStaleInputBytes);
  l.pauseMs(kLinkStepMs);
  l.sendBytes(rm::registerFrame(rm::kRead, rm::kStartUpTest).view().substr(0, 2));
  l.pauseMs(kLinkStepMs);
  std::string answer = l.readUpTo(2);
  l.pauseMs(kLinkStepMs);
  if (answer.size() == 2) {
    commportText = name;
    display.receivedText = "communication established";
  }
  portWatch_.linkTestDone(answer.size() == 2 ? kFastBaud : 0);
}

void CCorvaneDlg::readModuleSettings() {
  RegisterReads l(link_, env_.status);
  // A query without a full reply leaves its fields at their start values and its
  // register copy at 0, so no made-up bits are ever written back to the module. A
  // copy also needs two real hex digits: anything else would not be a byte.
  auto registerValue = [](const std::string& reply) {
    return isHexPair(reply) ? hexPairToByte(reply[0], reply[1]) : -1;
  };

  std::string reply = l.query(rm::kQueryDialerTimeout);
  if (reply.size() == 2) dialerTimeoutText = reply;

  reply = l.query(rm::kQueryKissoffTime);
  if (reply.size() == 2) kissoffTimeText += reply;

  int value = registerValue(l.query(rm::kQueryControl));
  shadows.shadowAC = value < 0 ? 0 : value;
  if (value >= 0) optionSwitches_.showControlRegister(value);

  applyProtocolAtStartUp();

  value = registerValue(l.query(rm::kQueryOptions));
  shadows.shadowAB = value < 0 ? 0 : value;
  if (value >= 0) optionSwitches_.showOptionsRegister(value);

  value = registerValue(l.query(rm::kReadTone));
  shadows.shadowB1 = value < 0 ? 0 : value;
  if (value >= 0) optionSwitches_.showToneRegister(value);
  l.report();
}

void CCorvaneDlg::applyProtocolAtStartUp() {
  protocolCode = files_.readProtocolCode().value_or('0');
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

void CCorvaneDlg::createHistory() {
  using Outcome = HistoryFile::Outcome;
  const HistoryFile::Opened opened = env_.history.create();
  switch (opened.outcome) {
    case Outcome::kOpen: return;
    case Outcome::kHeldByAnother:
      env_.status.show("./zm40demohistory is held by another Corvane in this folder: "
                       "this one keeps its time-out records out of it");
      return;
    case Outcome::kNotRegularFile:
      env_.status.show("./zm40demohistory is not a regular file: time-out records are not kept");
      return;
    case Outcome::kFailed:
      env_.status.show("./zm40demohistory cannot be created (" +
                       std::string(std::strerror(opened.osError)) +
                       "): time-out records are not kept");
      return;
  }
}

void CCorvaneDlg::appendTimingLine() {
  ModuleLink& l = link_;
  l.stopwatchStart();
  l.pauseMs(1);
  std::string text = formatGeneral(l.stopwatchElapsedMs(), kTimingDigits);
  display.show("\r\n");
  display.show(text.substr(0, kTimingChars));
}
