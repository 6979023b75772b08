#pragma once

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/protocol/register_map.h"

// The four switches of option register AB: which bit each one owns and in which state
// of that bit it is shown selected. Start-up shows them from the register read, the
// click flips the bit (module_options.cpp).
struct AbSwitch {
  int id;
  int bit;
  bool selectedWhenSet;  // audio is on while its bit is clear
  int CCorvaneDlg::*selection;
};

inline constexpr AbSwitch kAbSwitches[] = {
    {corvane_ids::kAudio, register_map::kOptionsAudioOffBit, false, &CCorvaneDlg::audioSelected},
    {corvane_ids::kStatus, register_map::kOptionsStatusBit, true, &CCorvaneDlg::statusSelected},
    {corvane_ids::kSia110, register_map::kOptionsSia110Bit, true, &CCorvaneDlg::sia110Selected},
    {corvane_ids::kDebug, register_map::kOptionsDebugBit, true, &CCorvaneDlg::debugSelected},
};

// The selection field for a register value: 0 (shown selected) when the switch's bit
// is in its selected state, 1 (shown clear) otherwise.
constexpr int selectionFromBit(int value, int bit, bool selectedWhenSet) {
  return ((value & bit) != 0) == selectedWhenSet ? 0 : 1;
}
