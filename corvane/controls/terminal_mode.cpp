#include "corvane/controls/terminal_mode.h"

#include "corvane/control_ids.h"
#include "corvane/protocol/frames.h"
#include "corvane/protocol/module_timing.h"
#include "corvane/state/change_flags.h"

namespace {

constexpr std::size_t kTerminalReadMaxBytes = 16;

}  // namespace

void TerminalMode::onEnableClicked() {
  exchange_.store();
  if (announced_) return;
  announced_ = true;
  status_.show(kOnMessage);
}

void TerminalMode::onKbdataChanged() {
  f_.kbdataChanged = 1;
  link_.pauseMs(module_timing::kKeySettleMs);
  exchange_.store();
}

void TerminalMode::onKbdataEnter() {
  if (exchange_.exchanging()) return;
  f_.kbdataText += frames::kCr;
  f_.kbdataChanged = 1;
  panel_.setText(corvane_ids::kKbdata, f_.kbdataText);
}

void TerminalMode::tick() {
  display_.showRaw(link_.readUpTo(kTerminalReadMaxBytes));

  // One key a tick leaves the field; the flag stays raised while keys wait. A field
  // emptied before the tick came holds no key: nothing is sent, rather than a zero
  // byte the operator never typed.
  std::string& keys = f_.kbdataText;
  if (ChangeFlags::take(f_.kbdataChanged) && !keys.empty()) {
    const char key = keys.front();
    keys.erase(0, 1);
    if (!keys.empty()) f_.kbdataChanged = 1;
    link_.sendByte(key);
    display_.show(key);
    link_.pauseMs(module_timing::kKeySettleMs);
  }
  display_.capTerminalText();
}
