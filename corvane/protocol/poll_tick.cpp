#include <cstddef>
#include <optional>
#include <string>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

// The 100 ms poll tick: Corvane has no reader thread, so this is where what the module
// sends is read, shown and understood, and where the settings whose handlers only
// raised a flag are saved or sent. onTimer() below is the whole tick, in its order.

namespace {

constexpr std::size_t kReadChunkBytes = 30;
constexpr int kRestOfBurstPauseMs = 50;  // lets the rest of a burst arrive
constexpr std::size_t kTerminalReadMaxBytes = 16;
constexpr int kKeySettleMs = 100;
constexpr const char* kTimeoutMessage = "error: communication timeout";

}  // namespace

void CCorvaneDlg::onTimer() {
  EventScope event(*this);
  portWatch_.atTick();  // a lost device: one check whether it is back
  retryFailedSaves();
  sendTypedDialerTimeout();  // in both modes
  if (terminalSelected == 0) {
    terminalModeTick();
  } else {
    countTowardsTimeout();
    saveChangedProtocol();
    const std::string received = receiveAndShow();
    watchForDeliveryReport(received);
    if (received.empty()) {
      actOnQuietLine();
      passOnCommand();
    }
    if (multipleRun_.stepDue()) multipleRun_.step();
  }
  saveChangedPortName();
  display.breakLongRun();
  if (terminalSelected != 0) display.capNormalText();
  loadControls();
  reportSequence({});
}

// Register 82 is programmed once the dialer time-out edit holds a whole pair; until
// then the flag stays raised.
void CCorvaneDlg::sendTypedDialerTimeout() {
  if (flags.timeoutChanged != 1 || dialerTimeoutText.size() != 2) return;
  flags.timeoutChanged = 0;
  notes_.noteAction("dialer time-out " + dialerTimeoutText);
  link_.sendByte(frames::kCr);
  display.show(register_map::kStoreDialerTimeout);
  link_.sendBytes(register_map::kStoreDialerTimeout);
  display.show(dialerTimeoutText);
  link_.sendBytes(dialerTimeoutText);
  display.show("new timeout1 value programmed\r\n");
}

// Terminal mode instead of the normal work: what came is shown as it came, and the
// first key still waiting in kbdata goes to the module. Nothing is wrapped, trimmed,
// counted towards the timeout or saved to "./protocol2" meanwhile.
void CCorvaneDlg::terminalModeTick() {
  display.showRaw(link_.readUpTo(kTerminalReadMaxBytes));

  // The kbdata field is the queue of keys not yet sent: one key a tick leaves it,
  // the rest wait in the field, shown to the operator, for the next ticks. The flag
  // stays raised while keys wait. A field emptied before the tick came holds no key:
  // nothing is sent, rather than a zero byte the operator never typed.
  if (ChangeFlags::take(flags.kbdataChanged) && !kbdataText.empty()) {
    const char key = kbdataText.front();
    kbdataText.erase(0, 1);
    if (!kbdataText.empty()) flags.kbdataChanged = 1;
    link_.sendByte(key);
    display.show(key);
    link_.pauseMs(kKeySettleMs);
  }
  display.capTerminalText();
}

void CCorvaneDlg::countTowardsTimeout() {
  if (!delivery.countTick()) return;
  env_.history.append(CorvaneFiles::timeoutRecord());
  display.showNotice(kTimeoutMessage);
  notes_.noteTimeout(kTimeoutMessage);
  loadControls();
}

void CCorvaneDlg::saveChangedProtocol() {
  if (flags.protocolChanged != 1) return;
  // A failed save keeps the flag, so the next normal-mode tick tries again.
  if (saves_.note("./protocol2", files_.saveProtocolCode(protocolCode))) flags.protocolChanged = 0;
}

// Up to 60 bytes a tick: 30, a pause for the rest of a burst, 30 more. Only the first
// read counts towards the forced break. Returns what was read.
std::string CCorvaneDlg::receiveAndShow() {
  std::string received = link_.readUpTo(kReadChunkBytes);
  if (!received.empty()) {
    display.countReceived(received.size());
    link_.pauseMs(kRestOfBurstPauseMs);
    received += link_.readUpTo(kReadChunkBytes);
  }
  display.showReceived(received);
  if (display.trimOldestLine()) loadControls();
  return received;
}

void CCorvaneDlg::watchForDeliveryReport(const std::string& received) {
  if (received.empty() || !DeliveryWatch::holdsDeliveryReport(received)) return;
  delivery.notePending(received.size());
  env_.pollTimer.restart();
}

// The line has gone quiet after a report: the display now ends with it, and a run
// may go on.
void CCorvaneDlg::actOnQuietLine() {
  if (delivery.successPending == 0) return;
  files_.writeDisplayMessage(display.receivedText);
  delivery.actOnPending();
  env_.pollTimer.restart();
}

// A quiet tick with nothing pending passes on the "./command" mailbox; the tick that
// has just acted on a report counts as such, so its command goes out ahead of a run's
// next message.
void CCorvaneDlg::passOnCommand() {
  if (delivery.successPending != 0) return;
  env_.pollTimer.restart();
  if (std::optional<char> command = files_.takeCommand()) link_.sendByte(*command);
}

void CCorvaneDlg::saveChangedPortName() {
  if (ChangeFlags::take(flags.commportChanged)) savePortNameFile();
}
