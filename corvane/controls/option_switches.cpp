#include <string>

#include "corvane/control_ids.h"
#include "corvane/corvane_dlg.h"
#include "corvane/protocol/frames.h"

// The module options kept in registers AB, AC and B1. Every click flips one bit of
// the program's copy of the register, shows the switch as the new bit says (never as
// the click left it) and writes the whole copy back to the module.

using namespace corvane_ids;

namespace {

constexpr int kSettleMs = 200;         // after the store, before the first byte
constexpr int kProgrammingGapMs = 50;  // between the frames of the AC sequence
constexpr int kToneGapMs = 100;        // after each B1 write
constexpr int kKissoffSettleMs = 200;  // after an M83 write

// The four switches of register AB and the bit each one owns.
struct AbSwitch {
  int id;
  int bit;
  bool selectedWhenSet;  // audio is on while its bit is clear
  int CCorvaneDlg::*selection;
};

constexpr AbSwitch kAbSwitches[] = {
    {kAudio, 0x80, false, &CCorvaneDlg::audioSelected},
    {kStatus, 0x20, true, &CCorvaneDlg::statusSelected},
    {kSia110, 0x04, true, &CCorvaneDlg::sia110Selected},
    {kDebug, 0x40, true, &CCorvaneDlg::debugSelected},
};

constexpr int kAcReduce6dbBit = 0x80;   // clear: transmit level reduced by 6 dB
constexpr int kAcMultipleRunBit = 0x02; // the 6 dB switch always leaves this clear
constexpr int kB1Tone1400Bit = 0x04;    // set: 1400 Hz, clear: 2300 Hz

}  // namespace

void CCorvaneDlg::onAbSwitchClicked(int id) {
  const AbSwitch* sw = nullptr;
  for (const AbSwitch& candidate : kAbSwitches)
    if (candidate.id == id) sw = &candidate;
  if (sw == nullptr) return;

  storeControls();
  link().pauseMs(kSettleMs);
  shadowAB ^= sw->bit;
  const bool bitSet = (shadowAB & sw->bit) != 0;
  this->*(sw->selection) = bitSet == sw->selectedWhenSet ? 0 : 1;
  // The acknowledgement count is of no use here: the switch shows the new bit whether
  // or not the module answered.
  frames::writeOptionRegister(link(), "AB", frames::byteToHexPair(shadowAB));
  loadControls();
}

void CCorvaneDlg::onReduce6dbClicked() {
  storeControls();
  link().pauseMs(kSettleMs);
  shadowAC = (shadowAC ^ (kAcReduce6dbBit | kAcMultipleRunBit)) & ~kAcMultipleRunBit & 0xFF;
  reduce6dbSelected = 1;
  link().sendBytes("W3D01");
  link().pauseMs(kProgrammingGapMs);
  if ((shadowAC & kAcReduce6dbBit) == 0) reduce6dbSelected = 0;

  const std::string value = frames::byteToHexPair(shadowAC);
  link().sendBytes("MAC");
  link().sendBytes(value);
  link().pauseMs(kProgrammingGapMs);
  link().sendBytes("WAC");
  link().sendBytes(value);
  link().pauseMs(kProgrammingGapMs);
  link().sendBytes("W3D00");
  link().pauseMs(kProgrammingGapMs);
  loadControls();
}

void CCorvaneDlg::onToneClicked() {
  storeControls();
  link().pauseMs(kSettleMs);
  link().sendByte(frames::kCr);
  shadowB1 ^= kB1Tone1400Bit;
  tone1400Selected = (shadowB1 & kB1Tone1400Bit) != 0 ? 0 : 1;

  // B1 is written twice, as the value the module keeps (M) and as its working value
  // (W); only the kept value is echoed in the display.
  const std::string value = frames::byteToHexPair(shadowB1);
  receivedText += "MB1";
  link().sendBytes("MB1");
  link().sendBytes(value);
  receivedText += value;
  link().pauseMs(kToneGapMs);
  link().sendBytes("WB1");
  link().sendBytes(value);
  link().pauseMs(kToneGapMs);
  loadControls();
}

void CCorvaneDlg::onDialerTimeoutChanged() {
  // Only raise the flag: the tick sends the value once the field holds a whole pair,
  // so the first of two typed digits never reaches the module alone.
  link().pauseMs(kSettleMs);
  timeoutChanged = 1;
  storeControls();
}

void CCorvaneDlg::onKissoffTimeChanged() {
  storeControls();
  // An emptied field has no value to program; sending "M83" with a zero byte would
  // write garbage into the register.
  if (!kissoffTimeText.empty()) {
    std::string value = kissoffTimeText.substr(0, 2);
    value.resize(2, '\0');  // a single digit goes out with a zero byte after it
    link().sendBytes("M83");
    link().sendBytes(value);
    link().pauseMs(kKissoffSettleMs);
  }
  loadControls();
}

void CCorvaneDlg::registerTimeoutStep() {
  if (timeoutChanged != 1 || dialerTimeoutText.size() != 2) return;
  timeoutChanged = 0;
  link().sendByte(frames::kCr);
  receivedText += "M82";
  link().sendBytes("M82");
  receivedText += dialerTimeoutText;
  link().sendBytes(dialerTimeoutText);
  receivedText += "new timeout1 value programmed\r\n";
}
