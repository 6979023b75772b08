#include <cstddef>
#include <optional>
#include <string>

#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"

// The 100 ms poll tick: Corvane has no reader thread, so this is where what the module
// sends is read, shown and understood, and where the settings whose handlers only
// raised a flag are saved or sent. onTimer() below is the whole tick, in its order.

namespace {

constexpr std::size_t kReadChunkBytes = 30;
constexpr const char* kTimeoutMessage = "error: communication timeout";

}  // namespace

void CCorvaneDlg::onTimer() {
  EventScope event(*this);
  portWatch_.atTick();  // a lost device: one check whether it is back
  retryFailedSaves();
  optionSwitches_.sendTypedDialerTimeout();  // in both modes
  if (terminalModeOn()) {
    terminalMode_.tick();
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
  if (!terminalModeOn()) display.capNormalText();
  loadControls();
  reportSequence({});
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
    link_.pauseMs(module_timing::kRestOfBurstMs);
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
  notes_.noteDelivered();
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
