#include "corvane/corvane_dlg.h"

#include <utility>

#include "corvane/control_ids.h"

using namespace corvane_ids;

CCorvaneDlg::CCorvaneDlg(const Environment& env)
    : env_(env),
      link_(env_.port, env_.clock),
      files_(env_.files, env_.workDir),
      exchange_(env_.panel),
      portWatch_(env_.port, env_.status),
      saves_(env_.status),
      notes_(env_.sessionLog, protocolCode),
      transmission_(link_, display, shadows, alarmFields()),
      multipleRun_({link_, display, shadows, run, delivery, files_, notes_, exchange_},
                   alarmFields()),
      optionSwitches_({link_, display, shadows, notes_, exchange_},
                      {audioSelected, statusSelected, sia110Selected, debugSelected,
                       reduce6dbSelected, tone1400Selected, dialerTimeoutText, kissoffTimeText,
                       flags.timeoutChanged}),
      factoryDefaults_(link_, display),
      terminalMode_(link_, display, exchange_, env_.panel, env_.status,
                    {kbdataText, flags.kbdataChanged}),
      startUp_({link_, portWatch_, display, shadows, optionSwitches_, files_, env_.history,
                env_.beep, env_.status, notes_, exchange_},
               {commportText, telephoneNumber,
                {&alarmMessage1, &alarmMessage2, &alarmMessage3, &alarmMessage4, &alarmMessage5,
                 &alarmMessage6, &alarmMessage7, &alarmMessage8},
                dialerTimeoutText, kissoffTimeText, protocolCode, formatButtons(), flags}),
      portDetection_(link_, portWatch_, display, commportText, flags.commportChanged, notes_) {
  bindFields();
}

FormatButtons CCorvaneDlg::formatButtons() {
  return FormatButtons(contactIdSelected, fskF1Selected, pulse4x2Selected, fskF2Selected);
}

AlarmFields CCorvaneDlg::alarmFields() {
  return AlarmFields{telephoneNumber, alarmMessage1, transmittingText, protocolCode,
                     formatButtons()};
}

void CCorvaneDlg::startUp() {
  EventScope event(*this);
  startUp_.run();
  // The name as start-up read it is what ./commport holds.
  portNameStored_ = portNameBeforeTyping_ = commportText;
  // The link test's writes to a port that did not open are no news: its open said why.
  link_.takeWriteCounts();
  reportSequence({});
}

AlarmExplanation CCorvaneDlg::explainAlarmMessage(int n) const {
  // Messages 2 to 8 only ever go out in a run; message 1 as the transmit button sends it.
  return ::explainAlarmMessage(protocolCode, alarmMessage(n), AlarmSending{n >= 2 ? n : 0});
}

namespace {

// The words for what a handler sends, in "... not sent: <why>".
std::string sequenceName(int id) {
  switch (id) {
    case kTransmit: return "alarm transmission";
    case kMultipleRun: return "multiple alarm run";
    case kAbort: return "abort";
    case kFactoryDefault: return "factory default";
    case kAudio:
    case kStatus:
    case kSia110:
    case kDebug:
    case kReduce6db:
    case kTone1400: return "option setting";
    case kKissoffTime: return "kiss-off time";
    default: return {};
  }
}

}  // namespace

void CCorvaneDlg::reportSequence(const std::string& what) {
  const ModuleLink::WriteCounts counts = link_.takeWriteCounts();
  portWatch_.afterSequence(what, counts.sent, counts.unsent, counts.failure);
}

void CCorvaneDlg::bindFields() {
  exchange_.bindText(kTelephoneNumber, telephoneNumber);
  exchange_.bindText(kAlarmMessage1, alarmMessage1);
  exchange_.bindText(kReceived, display.receivedText);
  exchange_.bindText(kCommport, commportText);
  exchange_.bindSelection(kContactId, contactIdSelected);
  exchange_.bindSelection(kPulse4x2, pulse4x2Selected);
  exchange_.bindText(kAlarmMessage2, alarmMessage2);
  exchange_.bindText(kAlarmMessage3, alarmMessage3);
  exchange_.bindText(kAlarmMessage4, alarmMessage4);
  exchange_.bindText(kAlarmMessage5, alarmMessage5);
  exchange_.bindText(kAlarmMessage6, alarmMessage6);
  exchange_.bindText(kAlarmMessage7, alarmMessage7);
  exchange_.bindText(kAlarmMessage8, alarmMessage8);
  exchange_.bindText(kTransmitting, transmittingText);
  exchange_.bindText(kAsciiMessage, asciiMessage);
  exchange_.bindText(kHexMessage, hexMessage);
  exchange_.bindSelection(kAudio, audioSelected);
  exchange_.bindText(kKbdata, kbdataText);
  exchange_.bindSelection(kTerminalEnable, terminalSelected);
  exchange_.bindSelection(kSia110, sia110Selected);
  exchange_.bindSelection(kDebug, debugSelected);
  exchange_.bindSelection(kStatus, statusSelected);
  exchange_.bindSelection(kReduce6db, reduce6dbSelected);
  exchange_.bindText(kDialerTimeout, dialerTimeoutText);
  exchange_.bindText(kKissoffTime, kissoffTimeText, kKissoffMaxChars);
  exchange_.bindSelection(kTone1400, tone1400Selected);
  exchange_.bindSelection(kFskF2, fskF2Selected);
  exchange_.bindSelection(kFskF1, fskF1Selected);
}

const std::string& CCorvaneDlg::alarmMessage(int n) const {
  const std::string* messages[] = {&alarmMessage1, &alarmMessage2, &alarmMessage3,
                                   &alarmMessage4, &alarmMessage5, &alarmMessage6,
                                   &alarmMessage7, &alarmMessage8};
  return *messages[(n >= 1 && n <= 8 ? n : 1) - 1];
}

std::string& CCorvaneDlg::alarmMessage(int n) {
  return const_cast<std::string&>(std::as_const(*this).alarmMessage(n));
}

void CCorvaneDlg::onTextChanged(int id) {
  EventScope event(*this);
  if (exchanging()) return;
  switch (id) {
    case kTelephoneNumber: onTelephoneNumberChanged(); break;
    case kAlarmMessage1: onAlarmMessageChanged(1); break;
    case kAlarmMessage2: onAlarmMessageChanged(2); break;
    case kAlarmMessage3: onAlarmMessageChanged(3); break;
    case kAlarmMessage4: onAlarmMessageChanged(4); break;
    case kAlarmMessage5: onAlarmMessageChanged(5); break;
    case kAlarmMessage6: onAlarmMessageChanged(6); break;
    case kAlarmMessage7: onAlarmMessageChanged(7); break;
    case kAlarmMessage8: onAlarmMessageChanged(8); break;
    case kCommport: onCommportChanged(); break;
    case kDialerTimeout: optionSwitches_.onDialerTimeoutChanged(); break;
    case kKissoffTime: optionSwitches_.onKissoffTimeChanged(); break;
    case kKbdata: terminalMode_.onKbdataChanged(); break;
    case kReceived:
    case kTransmitting:
    case kHexMessage:
    case kAsciiMessage: storeControls(); break;
    default: break;
  }
  reportSequence(sequenceName(id));
}

void CCorvaneDlg::onClicked(int id) {
  EventScope event(*this);
  if (exchanging()) return;
  notes_.noteClick(id, alarmMessage1);
  switch (id) {
    case kTransmit:
      transmission_.start();
      loadControls();
      break;
    case kAbort: onAbortClicked(); break;
    case kMultipleRun:
      multipleRun_.start();
      loadControls();
      break;
    case kDetectPort: onDetectPortClicked(); break;
    case kFactoryDefault:
      factoryDefaults_.load();
      loadControls();
      break;
    case kContactId:
    case kFskF1:
    case kPulse4x2:
    case kFskF2: onProtocolClicked(id); break;
    case kHexToAscii: onHexToAsciiClicked(); break;
    case kAudio:
    case kStatus:
    case kSia110:
    case kDebug:
    case kReduce6db:
    case kTone1400: optionSwitches_.onClicked(id); break;
    case kTerminalEnable: terminalMode_.onEnableClicked(); break;
    default: break;
  }
  reportSequence(sequenceName(id));
}

void CCorvaneDlg::onKbdataEnter() { terminalMode_.onKbdataEnter(); }

bool CCorvaneDlg::onOk() {
  EventScope event(*this);
  return storeControls();
}
