#pragma once

#include <string>

#include "common/control_panel.h"
#include "common/data_exchange.h"
#include "common/status_line.h"
#include "corvane/module_link.h"
#include "corvane/state/received_display.h"

// The dialog's fields of terminal mode. They are the dialog's and must outlive the role.
struct TerminalFields {
  std::string& kbdataText;      // 1032: the keys not yet sent
  int& kbdataChanged;           // raised while keys wait there
};

// Terminal mode: the operator talks to the module one key at a time through the
// kbdata edit, and sees what the module sends exactly as it comes. Once ENABLE is
// clicked the mode stays on until the program ends (the dialog's terminalModeOn());
// the poll tick then runs tick() instead of its normal work.
//
// The kbdata field is the queue of keys not yet sent: the operator's typing, pasting
// and deleting edit that queue, and each terminal-mode tick sends its first key and
// removes it from the field. Keys typed faster than the ticks wait there, none lost.
// Everything passed must outlive the role.
class TerminalMode {
 public:
  TerminalMode(ModuleLink& link, ReceivedDisplay& display, DataExchange& exchange,
               ControlPanel& panel, StatusLine& status, TerminalFields fields)
      : link_(link), display_(display), exchange_(exchange), panel_(panel), status_(status),
        f_(fields) {}

  // The click shows ENABLE selected, so the store turns terminal mode on. The display
  // gives no sign of the mode, so the status line says once what it means.
  void onEnableClicked();
  static constexpr const char* kOnMessage =
      "terminal mode is on: keys typed in the terminal field go to the module one a tick, "
      "and its reports (delivery, failure, time-out) are not interpreted meanwhile; "
      "only a restart of Corvane leaves terminal mode";
  void onKbdataChanged();
  // Enter in kbdata with terminal mode on: the line end the operator means for the
  // module. It waits behind the keys already typed and is shown in the field meanwhile.
  void onKbdataEnter();
  // The tick's work in terminal mode: what came is shown as it came, and the first key
  // waiting in kbdata goes to the module. Nothing is wrapped, trimmed, counted towards
  // the timeout or saved to "./protocol2" meanwhile.
  void tick();

 private:
  ModuleLink& link_;
  ReceivedDisplay& display_;
  DataExchange& exchange_;
  ControlPanel& panel_;
  StatusLine& status_;
  TerminalFields f_;
  bool announced_ = false;
};
