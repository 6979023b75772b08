#pragma once

#include <string>

#include "common/data_exchange.h"
#include "corvane/module_link.h"
#include "corvane/session_notes.h"
#include "corvane/state/received_display.h"
#include "corvane/state/register_shadows.h"

// The dialog's fields of the module options. They are the dialog's and must outlive
// the role.
struct OptionFields {
  int& audioSelected;      // 1031, register AB
  int& statusSelected;     // 1034, register AB
  int& sia110Selected;     // 1035, register AB
  int& debugSelected;      // 1036, register AB
  int& reduce6dbSelected;  // 1037, register AC
  int& tone1400Selected;   // 1040, register B1
  std::string& dialerTimeoutText;  // 1038, register 82
  std::string& kissoffTimeText;    // 1039, register 83
  int& timeoutChanged;             // 1038 edited: the tick programs register 82
};

// The module options kept in registers AB, AC and B1, and the two-digit edits of
// registers 83 and 82. Every switch click flips one bit of the program's copy of the
// register, shows the switch as the new bit says (never as the click left it) and
// writes the whole copy back to the module. Start-up shows the registers it read
// through the same rules. Everything passed must outlive the role.
class OptionSwitches {
 public:
  struct Parts {
    ModuleLink& link;
    ReceivedDisplay& display;
    RegisterShadows& shadows;
    SessionNotes& notes;
    DataExchange& exchange;
  };
  OptionSwitches(Parts parts, OptionFields fields) : p_(parts), f_(fields) {}

  // Clicks: 1031, 1034, 1035, 1036 (register AB), 1037 (AC) and 1040 (B1). Any other
  // id does nothing.
  void onClicked(int id);
  // Edits: 1038 raises the flag for the tick, 1039 programs register 83 at once.
  void onDialerTimeoutChanged();
  void onKissoffTimeChanged();
  // The tick's first step, in both modes: register 82 is programmed once the dialer
  // time-out edit holds a whole pair; until then the flag stays raised.
  void sendTypedDialerTimeout();

  // Start-up: the switches as the register values read from the module show them.
  void showControlRegister(int ac);
  void showOptionsRegister(int ab);
  // Only a set bit shows 1400 Hz; a clear one leaves the switch at its start value.
  void showToneRegister(int b1);

 private:
  void onAbSwitchClicked(int id);
  void onReduce6dbClicked();
  void onToneClicked();
  void settleAfterStore();

  Parts p_;
  OptionFields f_;
};
