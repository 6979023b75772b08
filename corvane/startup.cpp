#include <cstring>
#include <string>
#include <string_view>

#include "corvane/startup.h"

#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"
#include "corvane/protocol/register_reads.h"

namespace rm = register_map;
namespace mt = module_timing;

namespace {

constexpr int kSlowBaud = 9600;
constexpr int kFastBaud = 115200;
constexpr std::size_t kStaleInputBytes = 100;
constexpr int kTimingDigits = 10;
constexpr std::size_t kTimingChars = 10;

}  // namespace

void StartUp::run() {
  // The view has created the controls; they show the constructor values first.
  p_.exchange.load();
  p_.beep.load();
  f_.commportText = p_.files.readPortName();
  testLink();
  p_.notes.noteStart(f_.commportText, p_.link.port());
  readModuleSettings();
  f_.telephoneNumber = p_.files.readTelephoneNumber();
  for (int n = 1; n <= 8; ++n) *f_.alarmMessages[n - 1] = p_.files.readAlarmMessage(n);
  createHistory();
  appendTimingLine();
  p_.exchange.load();
  p_.exchange.load();
}

void StartUp::testLink() {
  ModuleLink& l = p_.link;
  const std::string name = f_.commportText;

  // At 9600 baud the module must answer the check on register 80.
  l.openPort(name, kSlowBaud);
  p_.portWatch.afterLinkOpen();
  if (l.registerLinkCheck(rm::kStartUpTest) == rm::kTestValue) {
    f_.commportText = name;
    // The port digit of a name such as COM3:; a shorter name has none.
    p_.display.receivedText = "com: " + (name.size() >= 4 ? name.substr(3, 1) : std::string());
    f_.flags.commportChanged = 1;
    p_.portWatch.linkTestDone(kSlowBaud);
    return;
  }

  l.port().close();
  l.openPort(name, kFastBaud);
  p_.portWatch.afterLinkOpen();
  const bool answered = answersAtFastRate();
  if (answered) {
    f_.commportText = name;
    p_.display.receivedText = "communication established";
  }
  p_.portWatch.linkTestDone(answered ? kFastBaud : 0);
}

// At 115200 baud the module's answer to the first two characters of "R80" is enough:
// any two bytes. CR, stale input dropped, "R8", a read of two.
bool StartUp::answersAtFastRate() {
  ModuleLink& l = p_.link;
  l.sendByte(frames::kCr);
  l.pauseMs(mt::kLinkStepMs);
  l.readUpTo(kStaleInputBytes);
  l.pauseMs(mt::kLinkStepMs);
  l.sendBytes(rm::registerFrame(rm::kRead, rm::kStartUpTest).view().substr(0, 2));
  l.pauseMs(mt::kLinkStepMs);
  const std::string answer = l.readUpTo(2);
  l.pauseMs(mt::kLinkStepMs);
  return answer.size() == 2;
}

void StartUp::readModuleSettings() {
  RegisterReads reads(p_.link, p_.status);
  // A query without a full reply leaves its fields at their start values and its
  // register copy at 0, so no made-up bits are ever written back to the module. A
  // copy also needs two real hex digits: anything else would not be a byte.
  auto registerValue = [](const std::string& reply) {
    return isHexPair(reply) ? hexPairToByte(reply[0], reply[1]) : -1;
  };
  RegisterShadows& shadows = p_.shadows;

  std::string reply = reads.query(rm::kQueryDialerTimeout);
  if (reply.size() == 2) f_.dialerTimeoutText = reply;

  reply = reads.query(rm::kQueryKissoffTime);
  if (reply.size() == 2) f_.kissoffTimeText += reply;

  int value = registerValue(reads.query(rm::kQueryControl));
  shadows.shadowAC = value < 0 ? 0 : value;
  if (value >= 0) p_.options.showControlRegister(value);

  f_.protocolCode = p_.files.readProtocolCode().value_or('0');
  f_.format.showStored(f_.protocolCode);

  value = registerValue(reads.query(rm::kQueryOptions));
  shadows.shadowAB = value < 0 ? 0 : value;
  if (value >= 0) p_.options.showOptionsRegister(value);

  value = registerValue(reads.query(rm::kReadTone));
  shadows.shadowB1 = value < 0 ? 0 : value;
  if (value >= 0) p_.options.showToneRegister(value);
  reads.report();
}

void StartUp::createHistory() {
  using Outcome = HistoryFile::Outcome;
  const HistoryFile::Opened opened = p_.history.create();
  switch (opened.outcome) {
    case Outcome::kOpen: return;
    case Outcome::kHeldByAnother:
      p_.status.show("./zm40demohistory is held by another Corvane in this folder: "
                       "this one keeps its time-out records out of it");
      return;
    case Outcome::kNotRegularFile:
      p_.status.show("./zm40demohistory is not a regular file: time-out records are not kept");
      return;
    case Outcome::kFailed:
      p_.status.show("./zm40demohistory cannot be created (" +
                       std::string(std::strerror(opened.osError)) +
                       "): time-out records are not kept");
      return;
  }
}

void StartUp::appendTimingLine() {
  ModuleLink& l = p_.link;
  l.stopwatchStart();
  l.pauseMs(mt::kTimingLineMs);
  std::string text = formatGeneral(l.stopwatchElapsedMs(), kTimingDigits);
  p_.display.show("\r\n");
  p_.display.show(text.substr(0, kTimingChars));
}
