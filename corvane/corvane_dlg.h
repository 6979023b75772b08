#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/alarm_message.h"
#include "common/clock.h"
#include "common/control_panel.h"
#include "common/data_exchange.h"
#include "common/history_file.h"
#include "common/serial_port.h"
#include "common/settings_files.h"
#include "common/status_line.h"
#include "corvane/beep.h"
#include "corvane/controls/factory_defaults.h"
#include "corvane/controls/option_switches.h"
#include "corvane/controls/terminal_mode.h"
#include "corvane/corvane_files.h"
#include "corvane/module_link.h"
#include "corvane/poll_timer.h"
#include "corvane/port_detection.h"
#include "corvane/port_watch.h"
#include "corvane/protocol/multiple_run.h"
#include "corvane/protocol/transmission.h"
#include "corvane/save_watch.h"
#include "corvane/session_notes.h"
#include "corvane/startup.h"
#include "corvane/state/change_flags.h"
#include "corvane/state/delivery_watch.h"
#include "corvane/state/multiple_run_state.h"
#include "corvane/state/received_display.h"
#include "corvane/state/register_shadows.h"
#include "corvane/state/selection.h"

class SessionLog;

// Corvane's main dialog without its window: the dialog's fields, the program-wide
// state, and one method per event. The Qt view (corvane/view) owns the widgets,
// implements ControlPanel and PollTimer, and forwards the operator's edits and clicks
// to onTextChanged() and onClicked(), the 100 ms timer to onTimer().
//
// What an event does belongs to a role, each a class over the shared parts and the
// fields it needs: StartUp and PortDetection (corvane/), Transmission and MultipleRun
// (corvane/protocol/), OptionSwitches, FactoryDefaults and TerminalMode
// (corvane/controls/). The dialog keeps the fields, the program-wide state, the poll
// tick's order and the small handlers that only store a field or save its file.
class CCorvaneDlg {
 public:
  // Everything outside the dialog that it works through; all must outlive it.
  struct Environment {
    SerialPort& port;
    Clock& clock;
    ControlPanel& panel;
    PollTimer& pollTimer;
    Beep& beep;
    HistoryFile& history;  // "./zm40demohistory", created at start-up
    StatusLine& status;
    std::filesystem::path workDir;  // where the settings and message files live
    // "./corvane.log" (corvane/session_log.h), or null for no session log. The port
    // above is then the LoggedSerialPort over it. Written at the end of each event.
    SessionLog* sessionLog = nullptr;
    // The settings and message files in workDir: those on disk unless given others.
    SettingsFiles& files = SettingsFiles::onDisk();
  };

  static constexpr int kPollPeriodMs = 100;
  static constexpr int kKissoffMaxChars = 2;

  explicit CCorvaneDlg(const Environment& env);
  CCorvaneDlg(const CCorvaneDlg&) = delete;
  CCorvaneDlg& operator=(const CCorvaneDlg&) = delete;

  // --- events -------------------------------------------------------------------
  // Dialog initialisation: every start-up step in order, each done even when an
  // earlier one failed. The view starts its 100 ms timer after this returns.
  void startUp();
  // An operator's edit or click; ignored while a data exchange runs.
  void onTextChanged(int id);
  void onClicked(int id);
  // The Enter key: store, and close only when the store succeeded.
  bool onOk();
  // Timer 1: the poll tick.
  void onTimer();
  // Enter in kbdata (1032) while terminal mode is on: queues a CR for the module
  // behind the keys still waiting there; the window stays open.
  void onKbdataEnter();

  // What alarm message n (1 to 8) means in the selected reporting format, as the
  // fields hold it: the tooltip and status line text of its edit.
  AlarmExplanation explainAlarmMessage(int n) const;

  // --- data exchange ---------------------------------------------------------------
  void loadControls() { exchange_.load(); }   // fields to controls
  bool storeControls() { return exchange_.store(); }  // controls to fields
  bool exchanging() const { return exchange_.exchanging(); }

  // --- dialog fields bound to controls, in the order of the data exchange ----------
  // (receivedText, control 1003, is display.receivedText.)
  std::string telephoneNumber;
  std::string alarmMessage1;
  std::string commportText;
  int contactIdSelected = -1;
  int pulse4x2Selected = -1;
  std::string alarmMessage2;
  std::string alarmMessage3;
  std::string alarmMessage4;
  std::string alarmMessage5;
  std::string alarmMessage6;
  std::string alarmMessage7;
  std::string alarmMessage8;
  std::string transmittingText;
  std::string asciiMessage;
  std::string hexMessage;
  int audioSelected = -1;
  std::string kbdataText;
  int terminalSelected = -1;
  int sia110Selected = -1;
  int debugSelected = -1;
  int statusSelected = -1;
  int reduce6dbSelected = -1;
  std::string dialerTimeoutText;
  std::string kissoffTimeText;
  int tone1400Selected = -1;
  int fskF2Selected = -1;
  int fskF1Selected = -1;

  // --- what the selections mean; the fields keep the exchange's 0 (shown) / -1 -------
  bool terminalModeOn() const { return shownSelected(terminalSelected); }
  bool contactIdShown() const { return shownSelected(contactIdSelected); }
  bool fskF1Shown() const { return shownSelected(fskF1Selected); }
  bool pulse4x2Shown() const { return shownSelected(pulse4x2Selected); }
  bool fskF2Shown() const { return shownSelected(fskF2Selected); }

  // --- program-wide state ----------------------------------------------------------
  char protocolCode = '0';
  RegisterShadows shadows;

  ReceivedDisplay display;
  DeliveryWatch delivery;
  MultipleRunState run;
  ChangeFlags flags;

 private:
  // --- handlers, one per control notification --------------------------------------
  void onTelephoneNumberChanged();              // 1000
  void onAlarmMessageChanged(int n);            // 1001, 1010, 1017..1022: message n = 1..8
  void onCommportChanged();                     // 1011
  void onDetectPortClicked();                   // 1012
  void onAbortClicked();                        // 1005
  void onProtocolClicked(int id);               // 1014, 1041, 1016, 1015
  void onHexToAsciiClicked();                   // 1030

  // --- the poll tick (poll_tick.cpp), in the order it runs them ---------------------
  void countTowardsTimeout();
  void saveChangedProtocol();
  std::string receiveAndShow();
  void watchForDeliveryReport(const std::string& received);
  void actOnQuietLine();
  void passOnCommand();
  void saveChangedPortName();

  // --- what the status line is told (saving.cpp, corvane_dlg.cpp) ------------------
  // After a handler or a tick: the device lost, what it wrote that was not sent.
  void reportSequence(const std::string& what);
  // The saves of the settings files, each noted for the status line; a failed one is
  // tried again by retryFailedSaves() at the next tick.
  void saveTelephoneNumberFile();
  void saveAlarmMessageFile(int n);
  void savePortNameFile();
  void retryFailedSaves();

  std::string& alarmMessage(int n);  // n = 1..8
  const std::string& alarmMessage(int n) const;
  void bindFields();

  // --- the session log ----------------------------------------------------------------
  // Held by each event method: the outermost one to end writes out what the event
  // recorded, so no write to the log ever falls inside a handler or a timed sequence
  // (a tick run by a nested event loop inside a handler included).
  class EventScope {
   public:
    explicit EventScope(CCorvaneDlg& dlg) : dlg_(dlg) { ++dlg_.eventDepth_; }
    ~EventScope() {
      if (--dlg_.eventDepth_ == 0) dlg_.notes_.flush();
    }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

   private:
    CCorvaneDlg& dlg_;
  };

  FormatButtons formatButtons();
  AlarmFields alarmFields();

  Environment env_;
  ModuleLink link_;
  CorvaneFiles files_;
  DataExchange exchange_;
  PortWatch portWatch_;
  SaveWatch saves_;
  SessionNotes notes_;
  // --- the roles, each over the shared parts and the fields it needs -----------------
  Transmission transmission_;
  MultipleRun multipleRun_;
  OptionSwitches optionSwitches_;
  FactoryDefaults factoryDefaults_;
  TerminalMode terminalMode_;
  StartUp startUp_;
  PortDetection portDetection_;
  // ./commport as Corvane last stored it, and what it held before the operator began
  // typing the name key by key: a name typed on past 8 bytes puts that back, rather
  // than leave a prefix stored on the way ("/dev/tty" of "/dev/ttyUSB0"). A pasted
  // name begins no typing: it is kept when a longer one is refused.
  std::string portNameStored_;
  std::string portNameBeforeTyping_;
  int eventDepth_ = 0;
};
