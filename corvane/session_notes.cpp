#include <algorithm>
#include <string>
#include <string_view>

#include "common/alarm_message.h"
#include "common/command_line.h"
#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/session_log.h"

// What the dialog tells its session log beside the bytes (which LoggedSerialPort
// records): the start, the operator's actions that send, what each alarm message means
// as it goes out, and the time-outs. Every note only fills the log's buffer; the log
// is written when the outermost event method ends (EventScope).

using namespace corvane_ids;

namespace {

// The buttons whose click sends to the module, by the words of their captions. The
// two transmissions name the format, since what goes out depends on it.
struct SendingButton {
  int id;
  const char* name;
  bool withFormat;
};

constexpr SendingButton kSendingButtons[] = {
    {kTransmit, "transmit", true},
    {kMultipleRun, "multiple run", true},
    {kAbort, "abort", false},
    {kDetectPort, "auto detect commport", false},
    {kFactoryDefault, "load factory default", false},
    {kAudio, "enable audio", false},
    {kStatus, "enable status message", false},
    {kSia110, "SIA-FORMAT 110 BAUD", false},
    {kDebug, "enable debug message", false},
    {kReduce6db, "reduce transmit signal by 6 dB", false},
    {kTone1400, "1400 or 2300 Hz tones", false},
};

std::string formatName(char protocolCode) {
  switch (protocolCode) {
    case '0': return "Contact-ID";
    case '1': return "SIA FSK F1";
    case '2': return "Pulse 4X2";
    case '8': return "SIA FSK F2";
    default: return "format " + std::string(1, protocolCode);
  }
}

}  // namespace

AlarmExplanation CCorvaneDlg::explainAlarmMessage(int n) const {
  // Messages 2 to 8 only ever go out in a run; message 1 as the transmit button sends it.
  return ::explainAlarmMessage(protocolCode, alarmMessage(n), AlarmSending{n >= 2 ? n : 0});
}

void CCorvaneDlg::flushSessionLog() {
  if (env_.sessionLog) env_.sessionLog->flush();
}

void CCorvaneDlg::noteStart() {
  if (!env_.sessionLog) return;
  env_.sessionLog->noteStart(SessionLog::Start{SessionLog::localDateTime(), programVersion(),
                                               commportText, env_.port.device(),
                                               env_.port.isOpen() ? env_.port.baud() : 0});
}

void CCorvaneDlg::noteClick(int id) {
  if (!env_.sessionLog) return;
  const SendingButton* button = findControl(kSendingButtons, id);
  if (button == nullptr) return;
  env_.sessionLog->noteAction(button->name, button->withFormat ? formatName(protocolCode) : "");
  // Both transmissions send message 1 from its field first (0: alone, 1: in a run).
  if (id == kTransmit || id == kMultipleRun) noteAlarm(id == kMultipleRun ? 1 : 0, alarmMessage1);
}

void CCorvaneDlg::noteAction(std::string_view what) {
  if (env_.sessionLog) env_.sessionLog->noteAction(what);
}

// n: the message's place in a run, 0 for the single transmission's message 1.
void CCorvaneDlg::noteAlarm(int n, std::string_view message) {
  if (!env_.sessionLog) return;
  env_.sessionLog->noteAlarm(std::max(n, 1), ::explainAlarmMessage(protocolCode, message, AlarmSending{n}).summary);
}

void CCorvaneDlg::noteTimeout(std::string_view message) {
  if (env_.sessionLog) env_.sessionLog->noteTimeout(message);
}
