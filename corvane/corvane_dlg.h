#pragma once

#include <filesystem>
#include <string>

#include "common/clock.h"
#include "common/control_panel.h"
#include "common/data_exchange.h"
#include "common/outside_library.h"
#include "common/serial_port.h"
#include "corvane/corvane_files.h"
#include "corvane/module_link.h"

// Corvane's main dialog without its window: the dialog's fields, the program-wide
// state, and one method per event. The Qt view (corvane/view) owns the widgets,
// implements ControlPanel and forwards the operator's edits and clicks to
// onTextChanged() and onClicked(), the 100 ms timer to onTimer().
//
// Handlers live beside their subject: start-up, files and the link in corvane/,
// transmissions and the poll tick in corvane/protocol/, the configuration controls in
// corvane/controls/.
class CCorvaneDlg {
 public:
  struct Environment {
    SerialPort& port;
    Clock& clock;
    ControlPanel& panel;
    std::filesystem::path workDir;
    std::string beepLibraryFile = "libpellix.so";
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

  // --- handlers (one per control notification) ----------------------------------
  void onTelephoneNumberChanged();              // 1000
  void onAlarmMessageChanged(int n);            // 1001, 1010, 1017..1022: message n = 1..8
  void onCommportChanged();                     // 1011
  void onDetectPortClicked();                   // 1012
  void onTransmitClicked();                     // 1002
  void onMultipleRunClicked();                  // 1006
  void onAbortClicked();                        // 1005
  void onProtocolClicked(int id);               // 1014, 1041, 1016, 1015
  void onAbSwitchClicked(int id);               // 1031, 1034, 1035, 1036
  void onReduce6dbClicked();                    // 1037
  void onToneClicked();                         // 1040
  void onDialerTimeoutChanged();                // 1038
  void onKissoffTimeChanged();                  // 1039
  void onFactoryDefaultClicked();               // 1013
  void onHexToAsciiClicked();                   // 1030
  void onTerminalEnableClicked();               // 1033
  void onKbdataChanged();                       // 1032

  // --- steps of start-up and of the poll tick ------------------------------------
  void linkTestAtStartUp();      // start-up step 6
  void readModuleSettings();     // start-up step 7
  void applyProtocolAtStartUp(); // step 7.4
  void appendTimingLine();       // step 11
  void registerTimeoutStep();    // tick step 1, both modes
  void terminalStep();           // tick step 2, terminal mode
  void normalTickSteps();        // tick steps 3 to 10
  void tickTail();               // tick step 11
  void receiveStep();            // tick step 5 (and 6, the trim)
  void multipleRunStep();

  // --- data exchange ---------------------------------------------------------------
  void loadControls() { exchange_.load(); }   // fields to controls
  bool storeControls() { return exchange_.store(); }  // controls to fields
  bool exchanging() const { return exchange_.exchanging(); }

  // --- dialog fields, in the order of the data exchange --------------------------
  std::string telephoneNumber;
  std::string alarmMessage1;
  std::string receivedText;
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

  // --- program-wide state ----------------------------------------------------------
  char protocolCode = '0';
  int shadowAB = 0;
  int shadowAC = 0;
  int shadowB1 = 0;

  int commportChanged = 0;
  int protocolChanged = 0;
  int timeoutChanged = 0;
  int kbdataChanged = 0;

  // Poll tick and delivery report.
  int lineCount = 0;
  int columnCount = 0;
  int charsSinceBreak = 0;
  int tickCount = 0;
  int successSeen = 0;
  int successPending = 0;
  // Bytes taken by the receive step of the current tick (n of the tick).
  std::string lastReceived;

  // Multiple run.
  int runRemaining = 0;
  int runIndex = 0;

  // Whether the view should restart its timer period (the tick re-arms timer 1).
  bool timerRearmed = false;

  std::string& alarmMessage(int n);  // n = 1..8

  ModuleLink& link() { return link_; }
  CorvaneFiles& files() { return files_; }
  OutsideLibrary& beepLibrary() { return beepLibrary_; }
  SerialPort& port() { return env_.port; }
  ControlPanel& panel() { return env_.panel; }

 private:
  void bindFields();

  Environment env_;
  ModuleLink link_;
  CorvaneFiles files_;
  OutsideLibrary beepLibrary_;
  DataExchange exchange_;
};
