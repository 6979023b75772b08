#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"

// Terminal mode: the operator talks to the module one key at a time through the
// kbdata edit, and sees what the module sends exactly as it comes. Once ENABLE is
// clicked the mode stays on until the program ends. The poll tick does the mode's
// work (terminalModeTick in poll_tick.cpp).
//
// The kbdata field is the queue of keys not yet sent: the operator's typing, pasting
// and deleting edit that queue, and each terminal-mode tick sends its first key and
// removes it from the field. Keys typed faster than the ticks wait there, none lost.

namespace {

constexpr int kKeySettleMs = 100;

}  // namespace

void CCorvaneDlg::onTerminalEnableClicked() {
  // The click shows ENABLE selected, so the store turns terminal mode on.
  storeControls();
}

void CCorvaneDlg::onKbdataChanged() {
  flags.kbdataChanged = 1;
  link_.pauseMs(kKeySettleMs);
  storeControls();
}

// Enter in kbdata with terminal mode on: the line end the operator means for the
// module. It waits behind the keys already typed and is shown in the field meanwhile.
void CCorvaneDlg::onKbdataEnter() {
  if (exchanging()) return;
  kbdataText += frames::kCr;
  flags.kbdataChanged = 1;
  env_.panel.setText(corvane_ids::kKbdata, kbdataText);
}
