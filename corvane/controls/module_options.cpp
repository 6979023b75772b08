#include <string>

#include "corvane/controls/ab_switches.h"
#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/register_map.h"

// The module options kept in registers AB, AC and B1, and the two-digit edits of
// registers 83 and 82. Every switch click flips one bit of the program's copy of the
// register, shows the switch as the new bit says (never as the click left it) and
// writes the whole copy back to the module.

namespace rm = register_map;

namespace {

constexpr int kSettleMs = 200;         // after the store, before the first byte
constexpr int kProgrammingGapMs = 50;  // between the frames of the AC sequence
constexpr int kToneGapMs = 100;        // after each B1 write
constexpr int kKissoffSettleMs = 200;  // after an M83 write

}  // namespace

void CCorvaneDlg::onAbSwitchClicked(int id) {
  const AbSwitch* sw = corvane_ids::findControl(kAbSwitches, id);
  if (sw == nullptr) return;

  storeControls();
  link_.pauseMs(kSettleMs);
  shadows.flipOptionBit(sw->bit);
  this->*(sw->selection) = selectionFromBit(shadows.shadowAB, sw->bit, sw->selectedWhenSet);
  // The acknowledgement count is of no use here: the switch shows the new bit whether
  // or not the module answered.
  frames::writeOptionRegister(link_, rm::kOptions, frames::byteToHexPair(shadows.shadowAB));
  loadControls();
}

void CCorvaneDlg::onReduce6dbClicked() {
  storeControls();
  link_.pauseMs(kSettleMs);
  shadows.flipFullLevel();
  reduce6dbSelected = 1;
  link_.sendBytes(rm::kBeginProgramming);
  link_.pauseMs(kProgrammingGapMs);
  if ((shadows.shadowAC & rm::kControlFullLevelBit) == 0) reduce6dbSelected = 0;

  const std::string value = frames::byteToHexPair(shadows.shadowAC);
  link_.sendBytes(rm::kStoreControl);
  link_.sendBytes(value);
  link_.pauseMs(kProgrammingGapMs);
  link_.sendBytes(rm::kWriteControl);
  link_.sendBytes(value);
  link_.pauseMs(kProgrammingGapMs);
  link_.sendBytes(rm::kEndProgramming);
  link_.pauseMs(kProgrammingGapMs);
  loadControls();
}

void CCorvaneDlg::onToneClicked() {
  storeControls();
  link_.pauseMs(kSettleMs);
  link_.sendByte(frames::kCr);
  shadows.flipTone();
  tone1400Selected = selectionFromBit(shadows.shadowB1, rm::kToneHighBit, true);

  // B1 is written twice, as the value the module keeps (M) and as its working value
  // (W); only the kept value is echoed in the display.
  const std::string value = frames::byteToHexPair(shadows.shadowB1);
  display.show(rm::kStoreTone);
  link_.sendBytes(rm::kStoreTone);
  link_.sendBytes(value);
  display.show(value);
  link_.pauseMs(kToneGapMs);
  link_.sendBytes(rm::kWriteTone);
  link_.sendBytes(value);
  link_.pauseMs(kToneGapMs);
  loadControls();
}

void CCorvaneDlg::onDialerTimeoutChanged() {
  // Only raise the flag: the tick sends the value once the field holds a whole pair,
  // so the first of two typed digits never reaches the module alone.
  link_.pauseMs(kSettleMs);
  flags.timeoutChanged = 1;
  storeControls();
}

void CCorvaneDlg::onKissoffTimeChanged() {
  storeControls();
  // An emptied field has no value to program; sending "M83" with a zero byte would
  // write garbage into the register.
  if (!kissoffTimeText.empty()) {
    std::string value = kissoffTimeText.substr(0, 2);
    value.resize(2, '\0');  // a single digit goes out with a zero byte after it
    notes_.noteAction("kiss-off time " + kissoffTimeText.substr(0, 2));
    link_.sendBytes(rm::kStoreKissoffTime);
    link_.sendBytes(value);
    link_.pauseMs(kKissoffSettleMs);
  }
  loadControls();
}
