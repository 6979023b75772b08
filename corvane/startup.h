#pragma once

#include <array>
#include <string>

#include "common/data_exchange.h"
#include "common/history_file.h"
#include "common/status_line.h"
#include "corvane/beep.h"
#include "corvane/controls/option_switches.h"
#include "corvane/corvane_files.h"
#include "corvane/module_link.h"
#include "corvane/port_watch.h"
#include "corvane/session_notes.h"
#include "corvane/state/change_flags.h"
#include "corvane/state/received_display.h"
#include "corvane/state/register_shadows.h"
#include "corvane/state/selection.h"

// The dialog's fields that start-up fills. They are the dialog's and must outlive the
// role.
struct StartUpFields {
  std::string& commportText;
  std::string& telephoneNumber;
  std::array<std::string*, 8> alarmMessages;  // message 1 first
  std::string& dialerTimeoutText;
  std::string& kissoffTimeText;
  char& protocolCode;
  FormatButtons format;
  ChangeFlags& flags;
};

// Dialog initialisation: every start-up step in order, each done even when an earlier
// one failed: the port name, the link test at 9600 and then 115200 baud, the module's
// settings read from its registers, the settings and message files, the history file
// and the timing line. Everything passed must outlive the role.
class StartUp {
 public:
  struct Parts {
    ModuleLink& link;
    PortWatch& portWatch;
    ReceivedDisplay& display;
    RegisterShadows& shadows;
    OptionSwitches& options;
    CorvaneFiles& files;
    HistoryFile& history;
    Beep& beep;
    StatusLine& status;
    SessionNotes& notes;
    DataExchange& exchange;
  };
  StartUp(Parts parts, StartUpFields fields) : p_(parts), f_(fields) {}

  // All the steps; the view starts its 100 ms timer after the dialog's startUp().
  void run();

 private:
  void testLink();
  bool answersAtFastRate();
  void readModuleSettings();
  void createHistory();
  void appendTimingLine();

  Parts p_;
  StartUpFields f_;
};
