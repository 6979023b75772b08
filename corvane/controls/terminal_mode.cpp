#include "corvane/corvane_dlg.h"

// Terminal mode: the operator talks to the module one key at a time through the
// kbdata edit, and sees what the module sends exactly as it comes. Once ENABLE is
// clicked the mode stays on until the program ends. The poll tick does the mode's
// work (terminalModeTick in poll_tick.cpp).

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
