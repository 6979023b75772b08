#include "corvane/controls/option_switches.h"

#include "corvane/control_ids.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/protocol/register_map.h"
#include "corvane/state/selection.h"

namespace rm = register_map;
namespace mt = module_timing;
using namespace corvane_ids;

namespace {

// The field of an AB switch (a table cannot point at a reference member).
int& selectionOf(OptionFields& f, int id) {
  switch (id) {
    case kAudio: return f.audioSelected;
    case kStatus: return f.statusSelected;
    case kSia110: return f.sia110Selected;
    default: return f.debugSelected;
  }
}

// The four switches of option register AB: which bit each one owns and in which
// state of that bit it is shown selected.
struct AbBit {
  int id;
  int bit;
  bool selectedWhenSet;
};

constexpr AbBit kAbSwitches[] = {
    {kAudio, rm::kOptionsAudioOffBit, false},
    {kStatus, rm::kOptionsStatusBit, true},
    {kSia110, rm::kOptionsSia110Bit, true},
    {kDebug, rm::kOptionsDebugBit, true},
};

// Whether a switch shows selected for a register value.
constexpr bool bitShowsSelected(int value, int bit, bool selectedWhenSet) {
  return ((value & bit) != 0) == selectedWhenSet;
}

}  // namespace

void OptionSwitches::onClicked(int id) {
  switch (id) {
    case kAudio:
    case kStatus:
    case kSia110:
    case kDebug: onAbSwitchClicked(id); break;
    case kReduce6db: onReduce6dbClicked(); break;
    case kTone1400: onToneClicked(); break;
    default: break;
  }
}

void OptionSwitches::settleAfterStore() {
  p_.exchange.store();
  p_.link.pauseMs(mt::kSwitchSettleMs);
}

void OptionSwitches::onAbSwitchClicked(int id) {
  const AbBit* sw = findControl(kAbSwitches, id);
  settleAfterStore();
  p_.shadows.flipOptionBit(sw->bit);
  selectionOf(f_, id) =
      selectionShowing(bitShowsSelected(p_.shadows.shadowAB, sw->bit, sw->selectedWhenSet));
  // The acknowledgement count is of no use here: the switch shows the new bit whether
  // or not the module answered.
  frames::writeOptionRegister(p_.link, rm::kOptions, frames::byteToHexPair(p_.shadows.shadowAB));
  p_.exchange.load();
}

void OptionSwitches::onReduce6dbClicked() {
  ModuleLink& link = p_.link;
  settleAfterStore();
  p_.shadows.flipFullLevel();
  f_.reduce6dbSelected = selectionShowing(false);
  link.sendBytes(rm::kBeginProgramming);
  link.pauseMs(mt::kControlFrameGapMs);
  if ((p_.shadows.shadowAC & rm::kControlFullLevelBit) == 0)
    f_.reduce6dbSelected = selectionShowing(true);

  const std::string value = frames::byteToHexPair(p_.shadows.shadowAC);
  link.sendBytes(rm::kStoreControl);
  link.sendBytes(value);
  link.pauseMs(mt::kControlFrameGapMs);
  link.sendBytes(rm::kWriteControl);
  link.sendBytes(value);
  link.pauseMs(mt::kControlFrameGapMs);
  link.sendBytes(rm::kEndProgramming);
  link.pauseMs(mt::kControlFrameGapMs);
  p_.exchange.load();
}

void OptionSwitches::onToneClicked() {
  ModuleLink& link = p_.link;
  settleAfterStore();
  link.sendByte(frames::kCr);
  p_.shadows.flipTone();
  f_.tone1400Selected =
      selectionShowing(bitShowsSelected(p_.shadows.shadowB1, rm::kToneHighBit, true));

  // B1 is written twice, as the value the module keeps (M) and as its working value
  // (W); only the kept value is echoed in the display.
  const std::string value = frames::byteToHexPair(p_.shadows.shadowB1);
  p_.display.show(rm::kStoreTone);
  link.sendBytes(rm::kStoreTone);
  link.sendBytes(value);
  p_.display.show(value);
  link.pauseMs(mt::kToneWriteMs);
  link.sendBytes(rm::kWriteTone);
  link.sendBytes(value);
  link.pauseMs(mt::kToneWriteMs);
  p_.exchange.load();
}

void OptionSwitches::onDialerTimeoutChanged() {
  // Only raise the flag: the tick sends the value once the field holds a whole pair,
  // so the first of two typed digits never reaches the module alone.
  p_.link.pauseMs(mt::kDialerTimeoutEditMs);
  f_.timeoutChanged = 1;
  p_.exchange.store();
}

void OptionSwitches::onKissoffTimeChanged() {
  p_.exchange.store();
  const std::string& typed = f_.kissoffTimeText;
  // An emptied field has no value to program; sending "M83" with a zero byte would
  // write garbage into the register.
  if (!typed.empty()) {
    std::string value = typed.substr(0, 2);
    value.resize(2, '\0');  // a single digit goes out with a zero byte after it
    p_.notes.noteAction("kiss-off time " + typed.substr(0, 2));
    p_.link.sendBytes(rm::kStoreKissoffTime);
    p_.link.sendBytes(value);
    p_.link.pauseMs(mt::kKissoffWriteMs);
  }
  p_.exchange.load();
}

void OptionSwitches::sendTypedDialerTimeout() {
  const std::string& typed = f_.dialerTimeoutText;
  if (f_.timeoutChanged != 1 || typed.size() != 2) return;
  f_.timeoutChanged = 0;
  p_.notes.noteAction("dialer time-out " + typed);
  p_.link.sendByte(frames::kCr);
  p_.display.show(rm::kStoreDialerTimeout);
  p_.link.sendBytes(rm::kStoreDialerTimeout);
  p_.display.show(typed);
  p_.link.sendBytes(typed);
  p_.display.show("new timeout1 value programmed\r\n");
}

void OptionSwitches::showControlRegister(int ac) {
  f_.reduce6dbSelected = selectionShowing(bitShowsSelected(ac, rm::kControlFullLevelBit, false));
}

void OptionSwitches::showOptionsRegister(int ab) {
  for (const AbBit& sw : kAbSwitches)
    selectionOf(f_, sw.id) = selectionShowing(bitShowsSelected(ab, sw.bit, sw.selectedWhenSet));
}

void OptionSwitches::showToneRegister(int b1) {
  if (bitShowsSelected(b1, rm::kToneHighBit, true)) f_.tone1400Selected = selectionShowing(true);
}
