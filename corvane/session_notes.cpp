#include "corvane/session_notes.h"

#include <algorithm>

#include "common/alarm_message.h"
#include "common/command_line.h"
#include "corvane/control_ids.h"
#include "corvane/session_log.h"

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

void SessionNotes::noteStart(const std::string& portName, const SerialPort& port) {
  if (!log_) return;
  log_->noteStart(SessionLog::Start{SessionLog::localDateTime(), programVersion(), portName,
                                    port.device(), port.isOpen() ? port.baud() : 0});
}

void SessionNotes::noteClick(int id, std::string_view alarmMessage1) {
  if (!log_) return;
  const SendingButton* button = findControl(kSendingButtons, id);
  if (button == nullptr) return;
  log_->noteAction(button->name, button->withFormat ? formatName(protocolCode_) : "");
  // Both transmissions send message 1 from its field first (0: alone, 1: in a run).
  if (id == kTransmit || id == kMultipleRun) noteAlarm(id == kMultipleRun ? 1 : 0, alarmMessage1);
}

void SessionNotes::noteAction(std::string_view what) {
  if (log_) log_->noteAction(what);
}

// n: the message's place in a run, 0 for the single transmission's message 1.
void SessionNotes::noteAlarm(int n, std::string_view message) {
  if (!log_) return;
  log_->noteAlarm(std::max(n, 1),
                  ::explainAlarmMessage(protocolCode_, message, AlarmSending{n}).summary);
}

void SessionNotes::noteTimeout(std::string_view message) {
  if (log_) log_->noteTimeout(message);
}

void SessionNotes::noteDelivered() {
  if (log_) log_->noteDelivered();
}

void SessionNotes::noteDetectionTry(const std::string& name, const SerialPort& port) {
  if (!log_) return;
  std::string text = "detect " + name + " " + (port.device().empty() ? "(no device)" : port.device());
  text += port.isOpen() ? " " + std::to_string(port.baud()) + " baud" : " not open";
  log_->noteAction(text);
}

void SessionNotes::flush() {
  if (log_) log_->flush();
}
